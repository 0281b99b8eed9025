#include "AxisMapping.h"

#include <cmath>

namespace lobex {

std::optional<double> AxisFraction(const AxisRange& axis, double value) {
    if (!std::isfinite(value) || axis.lo == axis.hi) {
        return std::nullopt;
    }
    if (axis.log) {
        if (value <= 0.0 || !(axis.lo > 0.0) || !(axis.hi > 0.0)) {
            return std::nullopt;
        }
        return std::log(value / axis.lo) / std::log(axis.hi / axis.lo);
    }
    return (value - axis.lo) / (axis.hi - axis.lo);
}

double AxisValue(const AxisRange& axis, double fraction) {
    if (axis.log) {
        return axis.lo * std::pow(axis.hi / axis.lo, fraction);
    }
    return axis.lo + (axis.hi - axis.lo) * fraction;
}

std::optional<double> PixelAxis::ToPixel(double value) const {
    const std::optional<double> fraction = AxisFraction(range, value);
    if (!fraction || pixelLo == pixelHi) {
        return std::nullopt;
    }
    return pixelLo + *fraction * (pixelHi - pixelLo);
}

double PixelAxis::FromPixel(double pixel) const {
    return AxisValue(range, (pixel - pixelLo) / (pixelHi - pixelLo));
}

PixelAxis MetricsXAxis(const PlotMetrics& m, bool log) {
    return {{m.XLo, m.XHi, log}, static_cast<double>(m.Left), static_cast<double>(m.Right)};
}

PixelAxis MetricsYAxis(const PlotMetrics& m, bool log) {
    return {{m.YLo, m.YHi, log}, static_cast<double>(m.Bottom), static_cast<double>(m.Top)};
}

} // namespace lobex
