#include "CompareFigures.h"

#include "core/ImpedanceColumns.h"
#include "core/LoadFlow.h"
#include "core/TextRules.h"
#include "model/Impedance.h"
#include "model/PatternMetrics.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>

namespace lobex {
namespace {

struct Figures {
    std::array<std::optional<float>, 4> shown;
    PatternMetrics metrics;
};

Figures FiguresOf(const FarFieldPattern& pattern) {
    const std::optional<PatternFigures> beam = MaximumAndBeam(pattern.grid);
    if (!beam) {
        return {};
    }
    const PatternMetrics metrics = MeasurePattern(pattern);
    return {{beam->MaxGain, metrics.front_to_back, beam->BeamWidth, beam->MaxElevation}, metrics};
}

std::string Shown(const std::optional<float>& value, const std::string& separator) {
    return value ? FormatPattern(*value, "#0.0#", separator) : std::string(kMissingFigure);
}

std::string Signed(float difference, const char* pattern, const std::string& separator) {
    return std::string(difference >= 0.0f ? "+" : "") +
           FormatPattern(difference, pattern, separator);
}

// The four figures of a sweep's or a table's row, and the number form of each.
struct ImpedanceRow {
    std::array<std::optional<float>, 4> shown;
    std::vector<std::pair<std::string, std::string>> detail;
};

std::string Megahertz(double f, const std::string& separator) {
    return FormatPattern(f, "#0.000", separator);
}

ImpedanceRow SweepRow(const Sweep& sweep, const ImpedanceFigures& figures,
                      const std::string& separator) {
    ImpedanceRow row;
    row.shown[0] = figures.min_swr;
    row.shown[1] = figures.min_swr_frequency;
    std::string bands;
    for (const Band& band : figures.bandwidths) {
        bands += (bands.empty() ? "" : "; ") + Megahertz(band.low, separator) + "–" +
                 Megahertz(band.high, separator);
        if (figures.min_swr_frequency && band.low <= *figures.min_swr_frequency &&
            *figures.min_swr_frequency <= band.high) {
            row.shown[2] = static_cast<float>(band.high - band.low);
        }
    }
    std::string resonances;
    for (const double f : figures.resonances) {
        resonances += (resonances.empty() ? "" : "; ") + Megahertz(f, separator);
        const double from = figures.min_swr_frequency.value_or(f);
        if (!row.shown[3] || std::abs(f - from) < std::abs(*row.shown[3] - from)) {
            row.shown[3] = static_cast<float>(f);
        }
    }
    const std::string none(kMissingFigure);
    row.detail = {{LOBEX_TEXT("Полосы, MHz:"), bands.empty() ? none : bands},
                  {LOBEX_TEXT("Резонансы, MHz:"), resonances.empty() ? none : resonances}};
    if (!sweep.points.empty()) {
        row.detail.emplace_back(LOBEX_TEXT("Частоты, MHz:"),
                                Megahertz(sweep.points.front().frequency, separator) + "–" +
                                    Megahertz(sweep.points.back().frequency, separator));
    }
    return row;
}

ImpedanceRow BestTableRow(const DataSet& data, const Sweep& sweep, const ImpedanceFigures& figures,
                          const std::string& separator) {
    ImpedanceRow row;
    row.shown[0] = figures.min_swr;
    row.shown[1] = figures.min_swr_frequency;
    // The best row of the table in its own order: the first whose parameter and SWR are the
    // lowest SWR's, as the figures find it on the first of ties.
    const auto best = std::ranges::find_if(sweep.points, [&](const SweepPoint& point) {
        return figures.min_swr_frequency && point.frequency == *figures.min_swr_frequency;
    });
    if (best == sweep.points.end()) {
        return row;
    }
    row.shown[2] = best->impedance.real();
    row.shown[3] = best->impedance.imag();
    const std::vector<float>& parameter = data.Series[0].Values;
    const auto at = std::ranges::find(parameter, best->frequency);
    const auto index = static_cast<std::size_t>(at - parameter.begin());
    for (int c = 0; c < kSeriesCount; ++c) {
        const SeriesRecord& series = data.Series[static_cast<std::size_t>(c)];
        const std::string caption = TrimSpaces(series.Label);
        if (caption.empty() || index >= series.Values.size()) {
            continue;
        }
        row.detail.emplace_back(caption + " =",
                                FormatPattern(series.Values[index], "#0.0##", separator));
    }
    return row;
}

// The row of one data set holding R and jX; none without them.
std::optional<ImpedanceRow> RowOf(const DataSet& data, std::complex<double> z0, double threshold,
                                  const std::string& separator) {
    const std::optional<ImpedanceColumns> columns = FindImpedanceColumns(data);
    if (!columns) {
        return std::nullopt;
    }
    Sweep sweep = ColumnSweep(data, *columns);
    std::ranges::stable_sort(sweep.points, {}, &SweepPoint::frequency);
    const Checked<ImpedanceFigures> figures = FindImpedanceFigures(sweep, z0, threshold);
    if (!figures) {
        return std::nullopt;
    }
    return data.DataKind == KindSweep ? SweepRow(sweep, *figures.value, separator)
                                      : BestTableRow(data, sweep, *figures.value, separator);
}

} // namespace

std::vector<CompareRow> ImpedanceCompareRows(const AppState& state, std::complex<double> z0,
                                             double threshold) {
    const DataSet& shown = state.Loaded.Data;
    const std::string& separator = state.DecimalSeparator;
    const std::optional<ImpedanceRow> first =
        state.Compare.Results.empty() ? std::nullopt : RowOf(shown, z0, threshold, separator);
    if (!first) {
        return {};
    }
    // SWR; frequency or parameter; band width or R; resonance or jX.
    const bool sweep = shown.DataKind == KindSweep;
    const std::array<const char*, 4> patterns = {"#0.00", sweep ? "#0.000" : "#0.0##",
                                                 sweep ? "#0.000" : "#0.0#",
                                                 sweep ? "#0.000" : "#0.0#"};
    std::vector<CompareRow> rows;
    const auto add = [&](const std::string& label, const ImpedanceRow& figures, bool later) {
        CompareRow row{label, {}, {}, {}, figures.detail};
        for (std::size_t f = 0; f < figures.shown.size(); ++f) {
            row.figures[f] = figures.shown[f]
                                 ? FormatPattern(*figures.shown[f], patterns[f], separator)
                                 : std::string(kMissingFigure);
            if (later && figures.shown[f] && first->shown[f]) {
                row.differences[f] =
                    Signed(*figures.shown[f] - *first->shown[f], patterns[f], separator);
            }
        }
        rows.push_back(std::move(row));
    };
    add(state.Compare.ShownLabel, *first, false);
    LoadRequest request;
    request.set = shown.SelectedSetIndex;
    request.decimalSeparator = separator;
    request.pi = state.PiValue;
    for (const ComparedResult& compared : state.Compare.Results) {
        // Derived as a load of the compared file would, the set on show picked.
        const LoadResult derived = DeriveLoad(compared.Document, request);
        if (!derived.loaded) {
            continue;
        }
        if (const std::optional<ImpedanceRow> figures =
                RowOf(derived.data, z0, threshold, separator)) {
            add(compared.Label, *figures, true);
        }
    }
    return rows;
}

std::vector<CompareRow> CompareRows(const AppState& state) {
    const FarFieldPattern* shown =
        state.Loaded.Document != nullptr
            ? ShownPattern(*state.Loaded.Document, state.View.NecFrequency)
            : nullptr;
    if (state.Compare.Results.empty() || shown == nullptr) {
        return {};
    }
    const std::string& separator = state.DecimalSeparator;
    const Figures first = FiguresOf(*shown);
    std::vector<CompareRow> rows;
    const auto add = [&](const std::string& label, const Figures& figures, bool later) {
        CompareRow row{label, {}, {}, figures.metrics, {}};
        for (std::size_t f = 0; f < figures.shown.size(); ++f) {
            row.figures[f] = Shown(figures.shown[f], separator);
            if (later && figures.shown[f] && first.shown[f]) {
                row.differences[f] =
                    Signed(*figures.shown[f] - *first.shown[f], "#0.0#", separator);
            }
        }
        rows.push_back(std::move(row));
    };
    add(state.Compare.ShownLabel, first, false);
    for (const ComparedResult& compared : state.Compare.Results) {
        if (const auto* pattern = compared.Document != nullptr
                                      ? std::get_if<FarFieldPattern>(compared.Document.get())
                                      : nullptr) {
            add(compared.Label, FiguresOf(*pattern), true);
        }
    }
    return rows;
}

} // namespace lobex
