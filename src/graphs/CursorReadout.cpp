#include "CursorReadout.h"

#include "AxisMapping.h"
#include "core/GainScale.h"
#include "core/TextRules.h"
#include "core/Texts.h"
#include "model/Impedance.h"
#include "model/SmithChart.h"

#include <limits>

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

SmithReadout ReadSmith(const PlotMetrics& m, const DrawnSmith& drawn, double pixelX,
                       double pixelY) {
    SmithReadout readout;
    const double z0r = drawn.z0.real();
    if (m.Right == m.Left || m.Top == m.Bottom || !(z0r > 0.0)) {
        return readout;
    }
    const PixelAxis re = MetricsXAxis(m, false);
    const PixelAxis im = MetricsYAxis(m, false);
    const std::complex<double> gamma(re.FromPixel(pixelX), im.FromPixel(pixelY));
    if (!(std::abs(gamma) <= 1.0)) {
        return readout;
    }
    readout.inside = true;
    if (const auto z = SmithImpedance(gamma)) {
        // Back from z = (Z − j·Im Z0) / Re Z0.
        readout.impedance = *z * z0r + std::complex<double>(0.0, drawn.z0.imag());
    }
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t s = 0; s < drawn.sweeps.size(); ++s) {
        const SmithSweep& sweep = drawn.sweeps[s];
        for (std::size_t p = 0; p < sweep.impedance.size() && p < sweep.abscissa.size(); ++p) {
            const std::complex<double> at =
                SmithPoint(NormalisedImpedance(std::complex<double>(sweep.impedance[p]), drawn.z0));
            const std::optional<double> x = re.ToPixel(at.real());
            const std::optional<double> y = im.ToPixel(at.imag());
            if (!x || !y) {
                continue;
            }
            const double distance = std::hypot(*x - pixelX, *y - pixelY);
            if (distance < best) {
                best = distance;
                readout.hasNearest = true;
                readout.sweep = s;
                readout.point = p;
            }
        }
    }
    if (readout.hasNearest) {
        const SmithSweep& sweep = drawn.sweeps[readout.sweep];
        readout.abscissa = sweep.abscissa[readout.point];
        readout.nearestImpedance = std::complex<double>(sweep.impedance[readout.point]);
        if (const Checked<Reflection> reflection = Reflect(readout.nearestImpedance, drawn.z0)) {
            readout.swr = reflection.value->swr;
            readout.returnLoss = reflection.value->returnLoss;
        }
    }
    return readout;
}

namespace {

std::string Signed(double value, std::string_view pattern, std::string_view separator) {
    return (value < 0.0 ? "-" : "+") + FormatPattern(std::abs(value), pattern, separator);
}

std::string Finite(double value, std::string_view pattern, std::string_view separator) {
    return std::isfinite(value) ? FormatPattern(value, pattern, separator) : "∞";
}

} // namespace

std::string SmithImpedanceText(std::complex<double> z, std::string_view decimalSeparator,
                               const TextTranslator& translate) {
    return "Z=" + FormatPattern(z.real(), "#0.0", decimalSeparator) +
           Signed(z.imag(), "#0.0", decimalSeparator).insert(1, "j") + translate(LOBEX_TEXT(" Ом"));
}

std::string SmithAbscissaText(const DrawnSmith& drawn, double abscissa,
                              std::string_view decimalSeparator) {
    if (drawn.abscissaName.empty()) {
        return FormatPattern(abscissa, "#0.000", decimalSeparator) + " MHz";
    }
    return drawn.abscissaName + "=" + FormatPattern(abscissa, "#0.00###", decimalSeparator);
}

std::string SmithPointText(const DrawnSmith& drawn, const SmithReadout& readout,
                           std::string_view decimalSeparator, const TextTranslator& translate) {
    if (!readout.hasNearest) {
        return {};
    }
    const std::string_view sep = decimalSeparator;
    std::string text;
    if (drawn.sweeps.size() > 1) {
        text = drawn.sweeps[readout.sweep].name + " ";
    }
    text += SmithAbscissaText(drawn, readout.abscissa, sep) +
            ": R=" + FormatPattern(readout.nearestImpedance.real(), "#0.0#", sep) +
            " jX=" + FormatPattern(readout.nearestImpedance.imag(), "#0.0#", sep) + " " +
            translate(LOBEX_TEXT("КСВ=")) + Finite(readout.swr, "#0.00", sep) + " " +
            translate(LOBEX_TEXT("Возвр. потери=")) + Finite(readout.returnLoss, "#0.0", sep) +
            " dB";
    return text;
}

} // namespace lobex
