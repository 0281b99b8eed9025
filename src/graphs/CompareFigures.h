#pragma once

#include "core/AppState.h"
#include "model/PatternMetrics.h"

#include <array>
#include <complex>
#include <string>
#include <utility>
#include <vector>

// The compare table's figures: per far field its maximum gain, F/B, -3 dB width and the
// elevation of its maximum; per sweep or optimisation table what its impedance gives at the
// chosen Z0; and for each later result the difference to the first.
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
    // For a sweep or a table, what the row has no room to show, as lines of a caption (to be
    // translated) and a value: every band and resonance, or every column of the best row.
    // Empty for a far field.
    std::vector<std::pair<std::string, std::string>> detail;
};

// The rows of the one on show and of every far field compared with it; none without
// comparisons or when the one on show is no far field.
std::vector<CompareRow> CompareRows(const AppState& state);

// The rows of the one on show and of every result compared with it whose data holds R and jX,
// at z0 and the SWR threshold; none without comparisons or when the one on show holds no R and
// jX. A sweep's row: the lowest SWR, its frequency, the width of the band (SWR at or below the
// threshold) it lies in and the resonance nearest to it, in MHz. An optimisation table's row is
// its best row, the one of the lowest SWR (the match is the aim every optimisation shares,
// where gain and F/B weigh differently from design to design): that SWR, the parameter there,
// and R and jX there.
std::vector<CompareRow> ImpedanceCompareRows(const AppState& state, std::complex<double> z0,
                                             double threshold);

} // namespace lobex
