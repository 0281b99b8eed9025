#include "CompareFigures.h"

#include "core/TextRules.h"
#include "model/PatternMetrics.h"

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

} // namespace

std::vector<CompareRow> CompareRows(const AppState& state) {
    const auto* shown = state.Loaded.Document != nullptr
                            ? std::get_if<FarFieldPattern>(state.Loaded.Document.get())
                            : nullptr;
    if (state.Compare.Results.empty() || shown == nullptr) {
        return {};
    }
    const std::string& separator = state.DecimalSeparator;
    const Figures first = FiguresOf(*shown);
    std::vector<CompareRow> rows;
    const auto add = [&](const std::string& label, const Figures& figures, bool later) {
        CompareRow row{label, {}, {}, figures.metrics};
        for (std::size_t f = 0; f < figures.shown.size(); ++f) {
            row.figures[f] = Shown(figures.shown[f], separator);
            if (later && figures.shown[f] && first.shown[f]) {
                const float difference = *figures.shown[f] - *first.shown[f];
                row.differences[f] = std::string(difference >= 0.0f ? "+" : "") +
                                     FormatPattern(difference, "#0.0#", separator);
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
