#pragma once

#include "core/AppState.h"
#include "model/PatternMetrics.h"

#include <array>
#include <string>
#include <vector>

// The compare table's figures: per far field its maximum gain, F/B, -3 dB width and the
// elevation of its maximum, and for each later result the difference to the first.
namespace lobex {

inline constexpr std::string_view kMissingFigure = "\u2014"; // an em dash

struct CompareRow {
    std::string label;
    // Maximum gain, front-to-back, beam width, elevation of the maximum, as shown, or
    // kMissingFigure where the pattern cannot give one.
    std::array<std::string, 4> figures;
    // After the first row, each figure's difference to the first's, signed ("+0.35"); empty
    // in the first row and where either figure is missing.
    std::array<std::string, 4> differences;
    // All the pattern's figures, for what the row has no room to show.
    PatternMetrics metrics;
};

// The rows of the one on show and of every far field compared with it; none without
// comparisons or when the one on show is no far field.
std::vector<CompareRow> CompareRows(const AppState& state);

} // namespace lobex
