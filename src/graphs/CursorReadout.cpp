#include "CursorReadout.h"

#include "AxisMapping.h"
#include "core/GainScale.h"
#include "core/TextRules.h"

#include <cmath>

namespace lobex {

RectangularReadout ReadRectangular(const PlotMetrics& m, double pixelX, double pixelY, bool logX,
                                   bool logY) {
    RectangularReadout readout;
    if (pixelX < m.Left || pixelX > m.Right || pixelY > m.Bottom || pixelY < m.Top ||
        m.Right == m.Left || m.Top == m.Bottom) {
        return readout;
    }
    readout.x = MetricsXAxis(m, logX).FromPixel(pixelX);
    readout.y = MetricsYAxis(m, logY).FromPixel(pixelY);
    readout.inside = std::isfinite(readout.x) && std::isfinite(readout.y);
    return readout;
}

std::string RectangularXText(double x, std::string_view decimalSeparator) {
    return "X=" + FormatPattern(x, "#0.00#", decimalSeparator);
}

PolarReadout ReadPolar(const PlotMetrics& m, double pixelX, double pixelY, int area,
                       float plotRange, float plotFloor, float piValue) {
    PolarReadout readout;
    // The elevation diagram shows the upper half only: below its centre row nothing is read.
    const double limit = area == 1 ? m.Bottom : (m.Bottom - m.Top) / 2.0 + m.Top;
    if (pixelX < m.Left || pixelX > m.Right || pixelY < m.Top || pixelY > limit ||
        m.Right == m.Left || m.Top == m.Bottom) {
        return readout;
    }
    const double extent = static_cast<double>(m.YHi) - m.YLo;
    const double x =
        2.0 * (pixelX - PolarCentre(m.Left, m.Right)) * extent / (m.Right - m.Left) + m.YLo;
    const double y =
        2.0 * (pixelY - PolarCentre(m.Top, m.Bottom)) * extent / (m.Top - m.Bottom) + m.YLo;

    double a = 0.0;
    if (x == 0.0) {
        a = y >= 0.0 ? 90.0 : -90.0;
    } else {
        a = std::atan(y / x) * 180.0 / piValue;
        if (x < 0.0) {
            a += 180.0;
        }
    }
    double angle = area == 1 ? 90.0 - a : a;
    if (angle < 0.0) {
        angle += 360.0;
    }
    const double r = std::sqrt(x * x + y * y);
    if (r > 1.0) {
        return readout;
    }
    readout.inside = true;
    readout.angle = angle;
    readout.gain = RadiusToGain<double>(r, plotFloor, plotRange);
    return readout;
}

std::string PolarGainText(double gain, std::string_view decimalSeparator) {
    return "η= " + FormatPattern(gain, "#0.0#", decimalSeparator);
}

std::string PolarAngleText(double angle, int area, std::string_view decimalSeparator) {
    return (area == 1 ? "φ= " : "θ= ") + FormatPattern(angle, "#0.0", decimalSeparator) + "°";
}

} // namespace lobex
