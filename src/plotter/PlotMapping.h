#pragma once

#include "graphs/AxisMapping.h"
#include "graphs/PlotApi.h"

#include <QPointF>
#include <QRectF>

namespace lobex::plotter {

// The one coordinate mapping of a rendered picture: data to pixels and back, for rectangular
// graphs (linear or logarithmic axes, a second Y axis) and for polar graphs. Pixel coordinates
// are those of PlotMetrics and of mouse positions: column c is the pixel whose left edge is at
// c. The painter draws a pixel coordinate at the centre of that pixel (ToPaint), so a point
// computed at column c colours pixel column c. The same object fills PlotMetrics, so the
// read-out formulas applied to the metrics invert exactly what was drawn. Axis limits are held
// at 32-bit float precision, the precision PlotMetrics reports them in, and each axis maps
// through the graph code's PixelAxis, the one the read-outs use on the metrics.
class PlotMapping {
public:
    // Plotting area with its left, top, right and bottom pixel edges.
    static PlotMapping Rectangular(int left, int top, int right, int bottom, AxisRange x,
                                   AxisRange y, AxisRange y2);
    // Polar plotting square; its centre is ((left + right + 3) / 2, (top + bottom + 3) / 2)
    // and its radius (right - left) / 2, the convention of the polar read-out. Angles run from
    // angleLo to angleHi (a full turn), in degrees or radians; radii from radiusLo (centre) to
    // radiusHi (outer circle). style: see kPolarClockwise and kPolarZeroUp.
    static PlotMapping Polar(int left, int top, int right, int bottom, double angleLo,
                             double angleHi, bool degrees, double radiusLo, double radiusHi,
                             int style);

    bool IsPolar() const { return polar_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Right() const { return right_; }
    int Bottom() const { return bottom_; }
    const AxisRange& X() const { return x_.range; }
    const AxisRange& Y() const { return y_.range; }
    const AxisRange& Y2() const { return y2_.range; }

    // Rectangular: the pixel of a data point; false when a log axis gets a value <= 0 or a
    // value is not finite. Polar: x is the angle and y the radius (radii below radiusLo sit at
    // the centre).
    bool ToPixel(double x, double y, bool secondAxis, QPointF& pixel) const;
    static QPointF ToPaint(QPointF pixel) { return pixel + QPointF(0.5, 0.5); }
    double XToPixel(double x) const;
    double YToPixel(double y, bool secondAxis) const;

    // Polar centre and radius in pixel coordinates.
    QPointF Centre() const;
    double Radius() const { return (right_ - left_) / 2.0; }
    // The direction of an angle on the screen: the unit vector (x right, y down).
    QPointF Direction(double angle) const;
    double AngleHi() const { return x_.range.hi; }
    bool Degrees() const { return degrees_; }

    PlotMetrics Metrics() const;

private:
    bool polar_ = false;
    int left_ = 0, top_ = 0, right_ = 1, bottom_ = 1;
    PixelAxis x_, y_, y2_;
    bool degrees_ = true;
    int style_ = 0;
};

} // namespace lobex::plotter
