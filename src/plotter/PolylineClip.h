#pragma once

#include <QPolygonF>
#include <QRectF>

#include <vector>

namespace lobex::plotter {

// The pieces of a polyline that lie inside a rectangle, edges included, in drawing order. A
// segment that leaves the rectangle ends its piece at the edge; one that comes back starts a new
// piece there. A single point inside stays a one-point piece. Vector outputs such as EMF get no
// other clipping, so curves beyond the axis limits are cut here.
std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& clip);

} // namespace lobex::plotter
