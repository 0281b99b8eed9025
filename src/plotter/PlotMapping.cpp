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

// Position of a value along an axis, 0 at lo and 1 at hi; NaN when it cannot be placed.
double Fraction(const AxisRange& axis, double value) {
    if (!std::isfinite(value)) {
        return std::nan("");
    }
    if (axis.log) {
        if (value <= 0.0 || axis.lo <= 0.0 || axis.hi <= 0.0) {
            return std::nan("");
        }
        return std::log(value / axis.lo) / std::log(axis.hi / axis.lo);
    }
    return (value - axis.lo) / (axis.hi - axis.lo);
}

// The inverse, as the read-outs compute it.
double ValueAt(const AxisRange& axis, double fraction) {
    if (axis.log) {
        return axis.lo * std::pow(axis.hi / axis.lo, fraction);
    }
    return axis.lo + (axis.hi - axis.lo) * fraction;
}

} // namespace

PlotMapping PlotMapping::Rectangular(int left, int top, int right, int bottom, AxisRange x,
                                     AxisRange y, AxisRange y2) {
    PlotMapping mapping;
    mapping.left_ = left;
    mapping.top_ = top;
    mapping.right_ = right > left ? right : left + 1;
    mapping.bottom_ = bottom > top ? bottom : top + 1;
    mapping.x_ = Rounded(x);
    mapping.y_ = Rounded(y);
    mapping.y2_ = Rounded(y2);
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
    return left_ + Fraction(x_, x) * (right_ - left_);
}

double PlotMapping::YToPixel(double y, bool secondAxis) const {
    return bottom_ + Fraction(secondAxis ? y2_ : y_, y) * (top_ - bottom_);
}

QPointF PlotMapping::Centre() const {
    return {(left_ + right_ + 3) / 2.0, (top_ + bottom_ + 3) / 2.0};
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
        const double fraction = std::max(0.0, Fraction(y_, y));
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

QPointF PlotMapping::FromPixel(QPointF pixel) const {
    const double tx = (pixel.x() - left_) / (right_ - left_);
    const double ty = (pixel.y() - bottom_) / (top_ - bottom_);
    return {ValueAt(x_, tx), ValueAt(y_, ty)};
}

bool PlotMapping::PolarFromPixel(QPointF pixel, double& angle, double& radius) const {
    if (!polar_) {
        return false;
    }
    const QPointF centre = Centre();
    const double dx = (pixel.x() - centre.x()) / Radius();
    const double dy = -(pixel.y() - centre.y()) / ((bottom_ - top_) / 2.0);
    radius = y_.lo + std::hypot(dx, dy) * (y_.hi - y_.lo);
    double screen = std::atan2(dy, dx);
    const double sign = (style_ & kPolarClockwise) != 0 ? -1.0 : 1.0;
    const double zero = (style_ & kPolarZeroUp) != 0 ? std::numbers::pi / 2.0 : 0.0;
    double radians = sign * (screen - zero);
    const double turn = 2.0 * std::numbers::pi;
    radians = std::fmod(std::fmod(radians, turn) + turn, turn);
    angle = degrees_ ? radians * 180.0 / std::numbers::pi : radians;
    return true;
}

PlotMetrics PlotMapping::Metrics() const {
    PlotMetrics metrics;
    metrics.Size = 36;
    metrics.Left = left_;
    metrics.Bottom = bottom_;
    metrics.Right = right_;
    metrics.Top = top_;
    metrics.XLo = static_cast<float>(x_.lo);
    metrics.YLo = static_cast<float>(y_.lo);
    metrics.XHi = static_cast<float>(x_.hi);
    metrics.YHi = static_cast<float>(y_.hi);
    return metrics;
}

} // namespace lobex::plotter
