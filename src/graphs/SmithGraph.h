#pragma once

#include "PlotLink.h"
#include "SmithCurves.h"
#include "core/Texts.h"

#include <complex>
#include <cstdint>
#include <optional>
#include <string_view>

// The Smith chart of slot 0 (picPlot): the impedance of one sweep or of several over one grid.
namespace lobex {

inline constexpr std::string_view kSmithChartName = LOBEX_TEXT("Диаграмма Вольперта-Смита");
inline constexpr std::string_view kNoReactanceMessage =
    LOBEX_TEXT("Диаграмму Вольперта-Смита построить нельзя:\r\n"
               "в данных нет реактивного сопротивления jX");
inline constexpr double kDefaultSwrThreshold = 2.0;
// The item data of the chart's entry in the left curve list, clear of every column number.
inline constexpr int kSmithChartItem = 100;

// Whether the graph choice offers the chart: sweeps and optimisation tables carry R and jX.
bool OffersSmithChart(std::int16_t kind);

// The data on show as one sweep of the chart, in the rows' order: the abscissa with the R and jX
// FindImpedanceColumns finds. None when there is no jX.
std::optional<SmithSweep> SmithSweepOf(const DataSet& data);

// Draws the sweeps of the chart over one grid, each its own curve and line style (the first
// red), the first and last point of each marked with its abscissa, with the circle of
// swrThreshold. The chart is kept with slot 0 for the read-outs. False when nothing was drawn.
bool PlotSmith(GraphContext& ctx, const DrawnSmith& chart,
               double swrThreshold = kDefaultSwrThreshold);

// The chart of the data on show against z0, by default the data's own reference impedance
// (FileReferenceImpedance). Data without jX, or a z0 whose resistance is not positive, is told and
// the graph on show stays.
bool ShowSmithChart(GraphContext& ctx, std::optional<std::complex<double>> z0 = std::nullopt,
                    double swrThreshold = kDefaultSwrThreshold);

} // namespace lobex
