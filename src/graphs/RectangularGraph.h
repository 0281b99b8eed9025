#pragma once

#include "PlotLink.h"
#include "core/Texts.h"

#include <string_view>

// The rectangular graph of slot 0 (picPlot), and the curve choice of the two curve lists that
// leads to it or, for a far-field pattern, to the polar diagrams.
namespace lobex {

inline constexpr std::string_view kLogRefusedMessage =
    LOBEX_TEXT("Логарифмическую шкалу установить нельзя\r\n"
               "так как данные содержат нулевые или отрицательные значения");

// Draws column left (1 to 6) against column 0, with column right (0: none) on a second Y axis
// in blue. Log axes follow LogX and LogY where the data allow it; chkLogX and chkLogY are
// enabled or disabled to match, and a refused log axis is told once per axis.
void PlotXY(GraphContext& ctx, int left, int right);

// The pair of columns the curve lists stand for. Both on their first entry: the first left
// column alone. Otherwise the selected columns; the same column twice draws it once, and the
// right list must go back to "None" (resetRight).
struct CurvePair {
    int left = 1;
    int right = 0;
    bool resetRight = false;
};
CurvePair ChooseCurvePair(CurveChoice left, CurveChoice right);

// The drawing step of cmbLeft_Click / cmbRight_Click once the pair is known: for a far-field
// pattern the cmbParam choice is remembered (SetChosen) and both polar diagrams drawn
// (ShowPattern); the Smith chart's entry (kSmithChartItem) gets its chart; anything else gets
// PlotXY.
void PlotChosenCurves(GraphContext& ctx, int left, int right);

// The columns of a sweep that its marks come from.
inline constexpr int kSweepResistanceColumn = 1;
inline constexpr int kSweepReactanceColumn = 2;
inline constexpr int kSweepSwrColumn = 3;

// The marks a sweep's graph carries on screen (lowest SWR, resonances); none for other data.
SweepMarks SweepMarksOf(const DataSet& data);

} // namespace lobex
