#include "ReferenceImpedance.h"

#include "CurveReading.h"
#include "core/ImpedanceColumns.h"
#include "core/TextRules.h"

#include <algorithm>
#include <cmath>

namespace lobex {
namespace {

// Where the derived curves stop on an axis: an SWR of 1000 is a total mismatch to the eye, and
// a return loss of 100 dB a perfect match.
constexpr double kSwrCeiling = 1000.0;
constexpr double kReturnLossCeiling = 100.0;

SeriesRecord Curve(std::string label, const std::vector<double>& values, double ceiling) {
    SeriesRecord series;
    series.Label = std::move(label);
    series.Values.clear();
    for (const double value : values) {
        series.Values.push_back(static_cast<float>(std::isfinite(value) ? value : ceiling));
    }
    series.Max = SeriesMax(series.Values);
    series.Min = SeriesMin(series.Values);
    return series;
}

} // namespace

std::optional<std::complex<double>> ParseReferenceImpedance(std::string_view text,
                                                            std::string_view decimalSeparator) {
    std::string entry = ToPointForm(TrimSpaces(text), decimalSeparator);
    // The user's own unit; the impedance rule knows MMANA's.
    for (const std::string_view unit : {"Ом", "ом"}) {
        if (entry.ends_with(unit)) {
            entry.resize(entry.size() - unit.size());
        }
    }
    return ReadImpedance(TrimSpaces(entry));
}

std::string ReferenceImpedanceText(std::complex<double> z0, std::string_view decimalSeparator) {
    std::string text = FormatPattern(z0.real(), "#0.##", decimalSeparator);
    if (z0.imag() != 0.0) {
        text += z0.imag() < 0.0 ? "-j" : "+j";
        text += FormatPattern(std::abs(z0.imag()), "#0.##", decimalSeparator);
    }
    return text;
}

std::complex<double> FileReferenceImpedance(const DataSet& data) {
    return LineImpedanceOf(data.HeaderWords);
}

std::complex<double> ChosenReferenceImpedance(const AppState& state) {
    return state.View.ReferenceImpedance.value_or(FileReferenceImpedance(state.Loaded.Data));
}

void DeriveReflectionCurves(DataSet& data, std::complex<double> z0) {
    data.Derived.clear();
    const std::optional<ImpedanceColumns> columns = FindImpedanceColumns(data);
    if (!columns) {
        return;
    }
    const Checked<SweepReflection> curves = ReflectSweep(ColumnSweep(data, *columns), z0);
    if (!curves) {
        return;
    }
    const std::string swrLabel =
        std::string(kDerivedSwrLabel) + ReferenceImpedanceText(z0, ".") + " Ω";
    data.Derived.push_back(Curve(swrLabel, curves.value->swr, kSwrCeiling));
    data.Derived.push_back(Curve(std::string(kReflectionLabel), curves.value->magnitude, 1.0));
    data.Derived.push_back(
        Curve(std::string(kReturnLossLabel), curves.value->returnLoss, kReturnLossCeiling));
}

std::optional<ImpedanceFigures> SweepImpedanceFigures(const DataSet& data, std::complex<double> z0,
                                                      double threshold) {
    if (data.DataKind != KindSweep) {
        return std::nullopt;
    }
    Checked<ImpedanceFigures> figures = FindImpedanceFigures(ColumnSweep(data, {}), z0, threshold);
    if (!figures) {
        return std::nullopt;
    }
    return std::move(*figures.value);
}

} // namespace lobex
