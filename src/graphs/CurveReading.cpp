#include "CurveReading.h"

#include "AxisMapping.h"
#include "CursorReadout.h"
#include "core/TextRules.h"
#include "core/Texts.h"
#include "model/Impedance.h"

#include <algorithm>
#include <cmath>

namespace lobex {
namespace {

bool Finite(float value) {
    return std::isfinite(value);
}

std::size_t PointCount(std::span<const float> xs, std::span<const float> ys) {
    return std::min(xs.size(), ys.size());
}

} // namespace

std::optional<double> ValueAt(std::span<const float> xs, std::span<const float> ys, double x) {
    const std::size_t n = PointCount(xs, ys);
    for (std::size_t i = 0; i < n; ++i) {
        if (static_cast<double>(xs[i]) == x && Finite(ys[i])) {
            return ys[i];
        }
        if (i + 1 == n) {
            break;
        }
        const double x0 = xs[i];
        const double x1 = xs[i + 1];
        if (x0 == x1 || x < std::min(x0, x1) || x > std::max(x0, x1)) {
            continue;
        }
        if (!Finite(ys[i]) || !Finite(ys[i + 1])) {
            return std::nullopt;
        }
        const double t = (x - x0) / (x1 - x0);
        return ys[i] + (static_cast<double>(ys[i + 1]) - ys[i]) * t;
    }
    return std::nullopt;
}

std::optional<CurvePoint> MinimumOf(std::span<const float> xs, std::span<const float> ys) {
    std::optional<CurvePoint> lowest;
    const std::size_t n = PointCount(xs, ys);
    for (std::size_t i = 0; i < n; ++i) {
        if (Finite(xs[i]) && Finite(ys[i]) && (!lowest || ys[i] < lowest->y)) {
            lowest = CurvePoint{xs[i], ys[i]};
        }
    }
    return lowest;
}

std::optional<double> ColumnOf(const PlotMetrics& m, double x, bool logX) {
    return MetricsXAxis(m, logX).ToPixel(x);
}

std::optional<double> RowOf(const PlotMetrics& m, double y, bool logY) {
    return MetricsYAxis(m, logY).ToPixel(y);
}

CurveValues ReadCurves(const PlotMetrics& metrics, const DrawnCurves& drawn, double pixelX,
                       double pixelY, bool logX, bool logY) {
    CurveValues read;
    const RectangularReadout at = ReadRectangular(metrics, pixelX, pixelY, logX, logY);
    if (!at.inside) {
        return read;
    }
    read.inside = true;
    read.x = at.x;
    for (const DrawnCurve& curve : drawn.curves) {
        read.values.push_back(ValueAt(drawn.x, curve.y, at.x));
    }
    return read;
}

std::string CurveValueText(std::string_view name, double value, std::string_view decimalSeparator) {
    std::string text(name);
    text += "=";
    text += FormatPattern(value, "#0.00##", decimalSeparator);
    return text;
}

SweepMarks FindSweepMarks(std::span<const float> frequencies, std::span<const float> swr,
                          std::span<const float> reactance, std::span<const float> resistance,
                          std::complex<double> z0) {
    SweepMarks marks{std::nullopt, ZeroCrossings(frequencies, reactance)};
    const std::size_t n =
        std::min({frequencies.size(), swr.size(), reactance.size(), resistance.size()});
    std::optional<double> lowest;
    for (std::size_t i = 0; i < n; ++i) {
        const std::optional<double> computed = SwrOf({resistance[i], reactance[i]}, z0);
        if (computed && Finite(frequencies[i]) && Finite(swr[i]) &&
            (!lowest || *computed < *lowest)) {
            lowest = computed;
            marks.swrMinimum = CurvePoint{frequencies[i], swr[i]};
        }
    }
    if (!marks.swrMinimum) {
        marks.swrMinimum = MinimumOf(frequencies, swr);
    }
    return marks;
}

std::complex<double> LineImpedanceOf(std::string_view swrHeader) {
    return HeaderImpedance(swrHeader).value_or(kDefaultLineImpedance);
}

std::complex<double> LineImpedanceOf(const std::vector<std::string>& headerWords) {
    std::complex<double> z0 = kDefaultLineImpedance;
    for (const std::string& word : headerWords) {
        if (word.starts_with("SWR(")) {
            z0 = LineImpedanceOf(word);
        }
    }
    return z0;
}

std::optional<double> SwrOf(std::complex<double> z, std::complex<double> z0) {
    const Checked<Reflection> reflection = Reflect(z, z0);
    if (!reflection || !std::isfinite(reflection.value->swr)) {
        return std::nullopt;
    }
    return reflection.value->swr;
}

std::string SwrMinimumText(double swr, std::string_view decimalSeparator) {
    return LOBEX_TEXT("КСВ мин. ") + FormatPattern(swr, "#0.00", decimalSeparator);
}

std::string ResonanceText(double frequency, std::string_view decimalSeparator) {
    return LOBEX_TEXT("Резонанс ") + FormatPattern(frequency, "#0.000", decimalSeparator);
}

} // namespace lobex
