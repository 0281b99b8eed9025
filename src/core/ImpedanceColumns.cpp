#include "ImpedanceColumns.h"

#include "TextRules.h"
#include "model/Impedance.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace lobex {
namespace {

std::string Squeezed(std::string_view label) {
    std::string out;
    for (const char c : ToLowerAscii(label)) {
        if (c != ' ' && c != '\t') {
            out += c;
        }
    }
    return out;
}

// A total reflection has no finite SWR; a graph's scale needs one.
constexpr float kLargestDrawnSwr = 100.0f;

} // namespace

std::optional<ImpedanceColumns> FindImpedanceColumns(const DataSet& data) {
    if (data.DataKind == KindSweep) {
        return ImpedanceColumns{};
    }
    if (data.DataKind != KindTable) {
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
        sweep.header = data.HeaderWords;
        const auto column = [&data](int c) -> const std::vector<float>& {
            return data.Series[static_cast<std::size_t>(c)].Values;
        };
        const std::size_t rows =
            std::min({column(0).size(), column(columns->resistance).size(),
                      column(columns->reactance).size(),
                      static_cast<std::size_t>(std::max<int>(0, data.GridRowCount))});
        for (std::size_t r = 0; r < rows; ++r) {
            SweepPoint point;
            point.frequency = column(0)[r];
            point.impedance = {column(columns->resistance)[r], column(columns->reactance)[r]};
            sweep.points.push_back(point);
        }
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

std::optional<int> StoreDerivedSwr(DataSet& data, std::complex<double> z0) {
    constexpr int kColumn = 6;
    if (data.DataKind != KindSweep || !Reflect({}, z0)) {
        return std::nullopt;
    }
    const std::vector<float>& resistance = data.Series[1].Values;
    const std::vector<float>& reactance = data.Series[2].Values;
    SeriesRecord& swr = data.Series[kColumn];
    swr.Values.assign(data.Series[0].Values.size(), kLargestDrawnSwr);
    for (std::size_t r = 0; r < swr.Values.size() && r < resistance.size() && r < reactance.size();
         ++r) {
        const double value = Reflect({resistance[r], reactance[r]}, z0).value->swr;
        swr.Values[r] = std::min(kLargestDrawnSwr, static_cast<float>(value));
    }
    const auto [low, high] = std::ranges::minmax(swr.Values);
    swr.Min = low;
    swr.Max = high;
    swr.Label = DerivedSwrCaption(z0);
    return kColumn;
}

} // namespace lobex
