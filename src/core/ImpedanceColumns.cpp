#include "ImpedanceColumns.h"

#include "TextRules.h"
#include "model/Impedance.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace lobex {
namespace {

// A caption without its unit, blanks or case: "j X (Ом)" is "jx".
std::string Squeezed(std::string_view label) {
    std::string out;
    for (const char c : ToLowerAscii(label.substr(0, label.find('(')))) {
        if (c != ' ' && c != '\t') {
            out += c;
        }
    }
    return out;
}

} // namespace

std::optional<ImpedanceColumns> FindImpedanceColumns(const DataSet& data) {
    if (data.DataKind == KindSweep) {
        return ImpedanceColumns{};
    }
    if (data.DataKind != KindTable && data.DataKind != KindMmanaWindow) {
        return std::nullopt;
    }
    std::optional<int> resistance;
    std::optional<int> reactance;
    for (int c = 1; c < kSeriesCount; ++c) {
        const std::string label = Squeezed(data.Series[static_cast<std::size_t>(c)].Label);
        if (label == "r" && !resistance) {
            resistance = c;
        } else if (label == "jx" && !reactance) {
            reactance = c;
        }
    }
    if (!resistance || !reactance) {
        return std::nullopt;
    }
    return ImpedanceColumns{*resistance, *reactance};
}

Sweep ColumnSweep(const DataSet& data, const ImpedanceColumns& columns) {
    const auto column = [&data](int c) -> const std::vector<float>& {
        return data.Series[static_cast<std::size_t>(c)].Values;
    };
    const std::vector<float>& x = column(0);
    const std::vector<float>& r = column(columns.resistance);
    const std::vector<float>& jx = column(columns.reactance);
    Sweep sweep;
    sweep.header = data.HeaderWords;
    const std::size_t n = std::min({x.size(), r.size(), jx.size()});
    for (std::size_t i = 0; i < n; ++i) {
        SweepPoint point;
        point.frequency = x[i];
        point.impedance = {r[i], jx[i]};
        sweep.points.push_back(point);
    }
    return sweep;
}

std::optional<Sweep> ImpedanceSweepOf(const AppState& state) {
    const DataSet& data = state.Loaded.Data;
    const std::optional<ImpedanceColumns> columns = FindImpedanceColumns(data);
    if (!columns) {
        return std::nullopt;
    }
    Sweep sweep;
    const auto* read =
        state.Loaded.Document ? std::get_if<Sweep>(state.Loaded.Document.get()) : nullptr;
    if (data.DataKind == KindSweep && read != nullptr) {
        sweep = *read;
    } else {
        sweep = ColumnSweep(data, *columns);
        // The rows the grid shows.
        sweep.points.resize(std::min(
            sweep.points.size(), static_cast<std::size_t>(std::max<int>(0, data.GridRowCount))));
    }
    std::ranges::stable_sort(sweep.points, {}, &SweepPoint::frequency);
    return sweep;
}

std::string ImpedanceText(std::complex<double> z) {
    std::string text = ShortestText(z.real());
    if (z.imag() != 0.0) {
        text += z.imag() < 0.0 ? "-j" : "+j";
        text += ShortestText(std::abs(z.imag()));
    }
    return text;
}

std::string DerivedSwrCaption(std::complex<double> z0) {
    std::string caption(kDerivedSwrCaption);
    return caption.replace(caption.find("%1"), 2, ImpedanceText(z0));
}

} // namespace lobex
