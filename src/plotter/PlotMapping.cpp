#include "PlotMapping.h"

#include "PlotDocument.h"

#include <cmath>
#include <numbers>

namespace lobex::plotter {
namespace {

double AsFloat(double value) {
    // Through memory: GCC 12 at -O3 folds a vectorised double-float-double round trip away.
    const volatile float narrow = static_cast<float>(value);
    return static_cast<double>(narrow);
}

AxisRange Rounded(AxisRange range) {
    range.lo = AsFloat(range.lo);
    range.hi = AsFloat(range.hi);
    return range;
}

} // namespace

PlotMapping PlotMapping::Rectangular(int left, int top, int right, int bottom, AxisRange x,
                                     AxisRange y, AxisRange y2) {
    PlotMapping mapping;
    mapping.left_ = left;
    mapping.top_ = top;
    mapping.right_ = right > left ? right : left + 1;
    mapping.bottom_ = bottom > top ? bottom : top + 1;
    mapping.x_ = {Rounded(x), double(mapping.left_), double(mapping.right_)};
    mapping.y_ = {Rounded(y), double(mapping.bottom_), double(mapping.top_)};
    mapping.y2_ = {Rounded(y2), double(mapping.bottom_), double(mapping.top_)};
    return mapping;
}

PlotMapping PlotMapping::Polar(int left, int top, int right, int bottom, double angleLo,
                               double angleHi, bool degrees, double radiusLo, double radiusHi,
                               int style) {
    PlotMapping mapping = Rectangular(left, top, right, bottom, {angleLo, angleHi, false},
                                      {radiusLo, radiusHi, false}, {radiusLo, radiusHi, false});
    mapping.polar_ = true;
    mapping.degrees_ = degrees;
    mapping.style_ = style;
    return mapping;
}

double PlotMapping::XToPixel(double x) const {
    return x_.ToPixel(x).value_or(std::nan(""));
}

double PlotMapping::YToPixel(double y, bool secondAxis) const {
    return (secondAxis ? y2_ : y_).ToPixel(y).value_or(std::nan(""));
}

QPointF PlotMapping::Centre() const {
    return {PolarCentre(left_, right_), PolarCentre(top_, bottom_)};
}

QPointF PlotMapping::Direction(double angle) const {
    const double radians = degrees_ ? angle * std::numbers::pi / 180.0 : angle;
    const double sign = (style_ & kPolarClockwise) != 0 ? -1.0 : 1.0;
    const double zero = (style_ & kPolarZeroUp) != 0 ? std::numbers::pi / 2.0 : 0.0;
    const double screen = zero + sign * radians; // counter-clockwise from the right, y up
    return {std::cos(screen), -std::sin(screen)};
}

bool PlotMapping::ToPixel(double x, double y, bool secondAxis, QPointF& pixel) const {
    if (polar_) {
        if (!std::isfinite(x) || !std::isfinite(y)) {
            return false;
        }
        const double fraction = std::max(0.0, AxisFraction(y_.range, y).value_or(0.0));
        const QPointF direction = Direction(x);
        const QPointF centre = Centre();
        pixel = {centre.x() + direction.x() * fraction * Radius(),
                 centre.y() + direction.y() * fraction * (bottom_ - top_) / 2.0};
        return true;
    }
    const double column = XToPixel(x);
    const double row = YToPixel(y, secondAxis);
    if (!std::isfinite(column) || !std::isfinite(row)) {
        return false;
    }
    pixel = {column, row};
    return true;
}

PlotMetrics PlotMapping::Metrics() const {
    PlotMetrics metrics;
    metrics.Size = 36;
    metrics.Left = left_;
    metrics.Bottom = bottom_;
    metrics.Right = right_;
    metrics.Top = top_;
    metrics.XLo = static_cast<float>(x_.range.lo);
    metrics.YLo = static_cast<float>(y_.range.lo);
    metrics.XHi = static_cast<float>(x_.range.hi);
    metrics.YHi = static_cast<float>(y_.range.hi);
    return metrics;
}

} // namespace lobex::plotter
