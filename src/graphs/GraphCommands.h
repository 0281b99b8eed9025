#pragma once

#include "PlotLink.h"

#include <initializer_list>
#include <string>
#include <string_view>

// Pieces of command strings and of the plot record that the rectangular and the polar graph
// documents share.
namespace lobex::graphs {

inline constexpr std::string_view kTextFonts =
    "[TextFont(2,10,500,0,0,0,0,\"MS Sans Serif\")][TextFont(4,8,700,0,0,0,0,\"MS Sans Serif\")]";
inline constexpr std::string_view kGridLines = "[GridLineType(1,1)]";
inline constexpr std::string_view kLineWidths = "[LineWidth(-2,10)][LineWidth(-1,10)]";
inline constexpr std::string_view kSecondCurveBlue = "[Color(2,0,0,255)]";

// A text argument: the text between double quotes. The engine ends a text at the first quote
// followed by "," or ")" (blanks between allowed) and knows no escape, so such a quote inside
// the text becomes U+201D, which reads the same in a label and can neither cut the text short
// nor start a command of its own. Every text argument goes through here.
std::string Quoted(std::string_view text);

// Whether Quoted carries the text unchanged: a file name it would change names another file.
bool QuotesWhole(std::string_view text);

// "[Name(a,b,...)]": arguments as they are written, separated by commas.
std::string Command(std::string_view name, std::initializer_list<std::string_view> arguments);

// "[Name(" + quoted text + ")]".
std::string TextCommand(std::string_view name, std::string_view text);

// "[XAxisLabel(...)][Title1(...)]".
std::string AxisLabelAndTitle(std::string_view xLabel, std::string_view title);

// Whether a column number names one of the series.
bool IsSeriesColumn(int column);

// Fills link.XValues with the n values of column 0 and link.YValues with n values of column
// left, then n of column right when right is not 0. A column shorter than n is padded with its
// last value (the readers never make one).
void CopyCurves(PlotLink& link, const DataSet& data, std::size_t n, int left, int right);

// The record's per-document fields common to both kinds: n points in curve 1 and the first
// plotted column's trimmed label as Y-axis label.
void SetFirstCurve(DPLOT& record, std::int32_t n, const SeriesRecord& series);

// Curve 2 beside curve 1: two curves of n points, both solid.
void SetTwoCurves(DPLOT& record);

} // namespace lobex::graphs
