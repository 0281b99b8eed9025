#include "DataGrid.h"

#include "Errors.h"
#include "Messages.h"
#include "MmanaTable.h"
#include "TextFile.h"
#include "TextRules.h"

#include <algorithm>
#include <utility>

namespace lobex {
namespace {

float SortKey(std::string_view line, std::string_view decimalSeparator) {
    const std::string_view first = line.substr(0, line.find('\t'));
    return LeadingFloat(ToPointForm(first, decimalSeparator));
}

} // namespace

void ClearGrid(AppState& state) {
    GridTable& table = state.Loaded.DataGrid;
    table.header = Split(kGridEmptyHeader, "|");
    table.rows.clear();
    table.shownRows = kGridEmptyRows;
}

void SetGridHeader(AppState& state, std::string_view text) {
    state.Loaded.DataGrid.header = Split(text, "|");
}

bool FillGrid(AppState& state, const std::function<void()>& pumpEvents) {
    const DataSet& data = state.Loaded.Data;
    const std::size_t rowCount = data.Series[0].Values.size();
    if (rowCount > static_cast<std::size_t>(kGridRowLimit)) {
        return false;
    }
    const int lastColumn = LastColumnInUse(data.DataKind);
    std::vector<std::string> lines(rowCount);
    for (std::size_t r = 0; r < rowCount; ++r) {
        std::string& line = lines[r];
        for (int c = 0; c <= lastColumn; ++c) {
            const std::vector<float>& values = data.Series[static_cast<std::size_t>(c)].Values;
            if (c > 0) {
                line += '\t';
            }
            line += FormatPattern(r < values.size() ? values[r] : 0.0f, kGridCellPattern,
                                  state.DecimalSeparator);
        }
    }
    SortRows(lines, 0, static_cast<int>(rowCount) - 1, state.DecimalSeparator, pumpEvents);

    GridTable& table = state.Loaded.DataGrid;
    table.rows.clear();
    table.rows.reserve(rowCount);
    for (const std::string& line : lines) {
        table.rows.push_back(Split(line, "\t"));
    }
    table.shownRows += static_cast<int>(rowCount);
    state.Loaded.Data.GridRowCount = static_cast<std::int16_t>(rowCount);
    return true;
}

std::string GridBlockText(const AppState& state) {
    const GridTable& table = state.Loaded.DataGrid;
    const auto lastColumn = static_cast<std::size_t>(LastColumnInUse(state.Loaded.Data.DataKind));
    const std::size_t rowCount =
        std::min(table.rows.size(),
                 static_cast<std::size_t>(std::max<int>(0, state.Loaded.Data.GridRowCount)));
    std::string text;
    for (std::size_t r = 0; r < rowCount; ++r) {
        if (r > 0) {
            text += '\r';
        }
        const std::vector<std::string>& cells = table.rows[r];
        for (std::size_t c = 0; c <= lastColumn; ++c) {
            if (c > 0) {
                text += '\t';
            }
            if (c < cells.size()) {
                text += cells[c];
            }
        }
    }
    return text;
}

bool GridToSeries(AppState& state) {
    // A pattern without azimuth 0 has no table rows, and still shows its diagrams.
    if (state.Loaded.Data.GridRowCount == 0 && state.Loaded.Data.DataKind == KindFarField) {
        return true;
    }
    state.Loaded.Data.DataText = GridBlockText(state);
    try {
        return RowsToSeries(state.Loaded.Data, state.DecimalSeparator, true);
    } catch (const RuntimeError&) {
        return false;
    }
}

int SnapGridRow(const AppState& state, int row) {
    const int last = state.Loaded.Data.GridRowCount;
    return last > 0 && row > last ? last : row;
}

void SortRows(std::vector<std::string>& lines, int first, int last,
              std::string_view decimalSeparator, const std::function<void()>& pumpEvents) {
    if (first < 0 || last >= static_cast<int>(lines.size()) || first >= last) {
        return;
    }
    // A key depends on its line only, so each is read once instead of at every comparison.
    std::vector<float> keys(lines.size());
    for (int i = first; i <= last; ++i) {
        keys[static_cast<std::size_t>(i)] =
            SortKey(lines[static_cast<std::size_t>(i)], decimalSeparator);
    }
    const auto key = [&keys](int i) {
        return keys[static_cast<std::size_t>(i)];
    };
    // The two parts of a partition never overlap, so sorting them from a work list instead of
    // by recursion gives the same order; the smaller part goes first to keep the list short.
    std::vector<std::pair<int, int>> work{{first, last}};
    while (!work.empty()) {
        const auto [lo, hi] = work.back();
        work.pop_back();
        int i = lo;
        int j = hi;
        const float pivot = key((lo + hi) / 2);
        while (i <= j) {
            if (pumpEvents) {
                pumpEvents();
            }
            while (key(i) < pivot && i < hi) {
                ++i;
            }
            while (pivot < key(j) && j > lo) {
                --j;
            }
            if (i <= j) {
                std::swap(lines[static_cast<std::size_t>(i)], lines[static_cast<std::size_t>(j)]);
                std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        const bool leftPart = lo < j;
        const bool rightPart = i < hi;
        if (leftPart && rightPart && (j - lo) < (hi - i)) {
            work.emplace_back(i, hi);
            work.emplace_back(lo, j);
        } else {
            if (leftPart) {
                work.emplace_back(lo, j);
            }
            if (rightPart) {
                work.emplace_back(i, hi);
            }
        }
    }
}

std::string CsvHeader(const DataSet& data) {
    std::string header = "No,Set,";
    bool first = true;
    for (const SeriesRecord& series : data.Series) {
        if (series.Label.empty()) {
            break;
        }
        if (!first) {
            header += ',';
        }
        header += series.Label;
        first = false;
    }
    return header;
}

std::string CsvBody(const DataSet& data, std::string_view decimalSeparator) {
    std::string body;
    body.reserve(data.DataText.size());
    // Cell by cell: the grid's cells carry the user's decimal symbol, the file carries ".".
    const std::string_view text = data.DataText;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of("\t\r\n", start), text.size());
        body += ToPointForm(text.substr(start, end - start), decimalSeparator);
        if (end == text.size()) {
            break;
        }
        body += text[end] == '\t' ? ',' : text[end];
        start = end + 1;
    }
    return body;
}

bool ExportCsv(LoadContext& ctx, const std::string& path) {
    ctx.state.Paths.SaveFileName = path;
    return WriteTextFile(ctx, path, CsvBody(ctx.state.Loaded.Data, ctx.state.DecimalSeparator),
                         CsvHeader(ctx.state.Loaded.Data));
}

std::string SavedStatus(std::string_view path) {
    std::string status(kSavedStatus);
    status += path;
    return status;
}

} // namespace lobex
