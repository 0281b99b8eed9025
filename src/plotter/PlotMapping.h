#pragma once

#include "graphs/PlotApi.h"

#include <QPointF>
#include <QRectF>

namespace lobex::plotter {

// The range of one axis as it is drawn. Limits are held at 32-bit float precision, the
// precision PlotMetrics reports them in, so that a read-out from the metrics lands on the same
// pixel as the drawing.
struct AxisRange {
    double lo = 0.0;
    double hi = 1.0;
    bool log = false;
};

// The one coordinate mapping of a rendered picture: data to pixels and back, for rectangular
// graphs (linear or logarithmic axes, a second Y axis) and for polar graphs. Pixel coordinates
// are those of PlotMetrics and of mouse positions: column c is the pixel whose left edge is at
// c. The painter draws a pixel coordinate at the centre of that pixel (ToPaint), so a point
// computed at column c colours pixel column c. The same object fills PlotMetrics, so the
// read-out formulas applied to the metrics invert exactly what was drawn.
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
    const AxisRange& X() const { return x_; }
    const AxisRange& Y() const { return y_; }
    const AxisRange& Y2() const { return y2_; }

    // Rectangular: the pixel of a data point; false when a log axis gets a value <= 0 or a
    // value is not finite. Polar: x is the angle and y the radius (radii below radiusLo sit at
    // the centre).
    bool ToPixel(double x, double y, bool secondAxis, QPointF& pixel) const;
    static QPointF ToPaint(QPointF pixel) { return pixel + QPointF(0.5, 0.5); }
    double XToPixel(double x) const;
    double YToPixel(double y, bool secondAxis) const;

    // Rectangular: the data value under a pixel, by the read-out formulas of the metrics.
    QPointF FromPixel(QPointF pixel) const;
    // Polar: the angle (in [0, full turn), in the axis unit) and the radius under a pixel.
    bool PolarFromPixel(QPointF pixel, double& angle, double& radius) const;

    // Polar centre and radius in pixel coordinates.
    QPointF Centre() const;
    double Radius() const { return (right_ - left_) / 2.0; }
    // The direction of an angle on the screen: the unit vector (x right, y down).
    QPointF Direction(double angle) const;
    double AngleHi() const { return x_.hi; }
    bool Degrees() const { return degrees_; }

    PlotMetrics Metrics() const;

private:
    bool polar_ = false;
    int left_ = 0, top_ = 0, right_ = 1, bottom_ = 1;
    AxisRange x_, y_, y2_;
    bool degrees_ = true;
    int style_ = 0;
};

} // namespace lobex::plotter
