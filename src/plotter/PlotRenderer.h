#pragma once

#include "PlotDocument.h"
#include "PlotLayout.h"
#include "PlotMapping.h"

#include <QSizeF>

class QPainter;
class QPaintDevice;

namespace lobex::plotter {

// Paints a document in layers (background, grid, curves, frame and ticks, labels, title, note)
// from one layout computed up front, every position taken from its PlotMapping. The painter
// handed to Paint maps logical units onto its device; text is measured on that device so that
// it fits there.
class PlotRenderer {
public:
    PlotRenderer(const PlotDocument& document, QSizeF size, const QPaintDevice& device,
                 const RenderSettings& settings);

    const PlotMapping& Mapping() const { return layout_.mapping; }
    void Paint(QPainter& painter) const;

private:
    const PlotDocument& document_;
    const PlotLayout layout_;
};

} // namespace lobex::plotter
