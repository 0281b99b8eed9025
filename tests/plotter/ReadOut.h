#pragma once

#include "graphs/PlotApi.h"

#include <cmath>

// The cursor read-outs of the plot areas, written as the windows compute them from the
// metrics alone, so that tests can check a drawing against them.
namespace lobex::plotter::test {

struct RectangularValue {
    double x = 0.0;
    double y = 0.0;
};

inline RectangularValue RectangularReadOut(const PlotMetrics& m, double px, double py, bool logX,
                                           bool logY) {
    const double tx = (px - m.Left) / (m.Right - m.Left);
    const double ty = (py - m.Bottom) / (m.Top - m.Bottom);
    const double xLo = m.XLo, xHi = m.XHi, yLo = m.YLo, yHi = m.YHi;
    RectangularValue value;
    value.x = logX ? xLo * std::pow(xHi / xLo, tx) : xLo + (xHi - xLo) * tx;
    value.y = logY ? yLo * std::pow(yHi / yLo, ty) : yLo + (yHi - yLo) * ty;
    return value;
}

struct PolarValue {
    double angle = 0.0;  // as shown: compass for the azimuth area, mathematical otherwise
    double radius = 0.0; // in the radius units of the plot
};

// area 1: azimuth (zero at the top, clockwise); area 2: elevation (zero at the right).
inline PolarValue PolarReadOut(const PlotMetrics& m, double px, double py, int area) {
    const double yLo = m.YLo, yHi = m.YHi;
    const double x =
        2.0 * (px - (m.Left + m.Right + 3) / 2.0) * (yHi - yLo) / (m.Right - m.Left) + yLo;
    const double y =
        2.0 * (py - (m.Top + m.Bottom + 3) / 2.0) * (yHi - yLo) / (m.Top - m.Bottom) + yLo;
    constexpr double kPi = 3.14159274;
    double a = 0.0;
    if (x == 0.0) {
        a = y >= 0.0 ? 90.0 : -90.0;
    } else {
        a = std::atan(y / x) * 180.0 / kPi;
        if (x < 0.0) {
            a += 180.0;
        }
    }
    PolarValue value;
    value.angle = area == 1 ? 90.0 - a : a;
    if (value.angle < 0.0) {
        value.angle += 360.0;
    }
    value.radius = std::sqrt(x * x + y * y);
    return value;
}

} // namespace lobex::plotter::test
