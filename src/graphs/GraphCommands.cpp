#include "GraphCommands.h"

#include "core/TextRules.h"

#include <algorithm>

namespace lobex::graphs {
namespace {

void AppendColumn(std::vector<float>& out, const std::vector<float>& values, std::size_t n) {
    const std::size_t copied = std::min(n, values.size());
    out.insert(out.end(), values.begin(), values.begin() + static_cast<std::ptrdiff_t>(copied));
    out.resize(out.size() + (n - copied), values.empty() ? 0.0f : values.back());
}

constexpr std::string_view kClosingQuote = "\u201D";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether the quote at text[quote] would end a text argument of the command language.
bool EndsText(std::string_view text, std::size_t quote) {
    std::size_t next = quote + 1;
    while (next < text.size() && IsBlank(text[next])) {
        ++next;
    }
    return next < text.size() && (text[next] == ',' || text[next] == ')');
}

} // namespace

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"' && EndsText(text, i)) {
            quoted += kClosingQuote;
        } else {
            quoted += text[i];
        }
    }
    quoted += '"';
    return quoted;
}

bool QuotesWhole(std::string_view text) {
    // Each replaced quote makes the text longer.
    return Quoted(text).size() == text.size() + 2;
}

std::string Command(std::string_view name, std::initializer_list<std::string_view> arguments) {
    std::string command(1, '[');
    command += name;
    command += '(';
    bool first = true;
    for (const std::string_view argument : arguments) {
        if (!first) {
            command += ',';
        }
        command += argument;
        first = false;
    }
    command += ")]";
    return command;
}

std::string TextCommand(std::string_view name, std::string_view text) {
    return Command(name, {Quoted(text)});
}

std::string AxisLabelAndTitle(std::string_view xLabel, std::string_view title) {
    return TextCommand("XAxisLabel", xLabel) + TextCommand("Title1", title);
}

bool IsSeriesColumn(int column) {
    return column >= 0 && column < kSeriesCount;
}

void CopyCurves(PlotLink& link, const DataSet& data, std::size_t n, int left, int right) {
    link.XValues.clear();
    AppendColumn(link.XValues, data.Series[0].Values, n);
    std::vector<float>& y = link.YValues;
    y.clear();
    y.reserve(right != 0 ? 2 * n : n);
    AppendColumn(y, SeriesOf(data, left)->Values, n);
    if (right != 0) {
        AppendColumn(y, SeriesOf(data, right)->Values, n);
    }
}

void SetFirstCurve(DPLOT& record, std::int32_t n, const SeriesRecord& series) {
    record.MaxPoints = n;
    record.NP[0] = n;
    SetTextField(record.YAxis, TrimSpaces(series.Label));
}

void SetTwoCurves(DPLOT& record) {
    record.MaxCurves = 2;
    record.NumCurves = 2;
    record.NP[1] = record.NP[0];
    record.LineType[0] = 1;
    record.LineType[1] = 1;
}

} // namespace lobex::graphs
