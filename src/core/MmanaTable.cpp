#include "MmanaTable.h"

#include "DataGrid.h"
#include "Errors.h"
#include "Messages.h"
#include "TextFile.h"
#include "TextRules.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace lobex {
namespace {

constexpr std::array<std::string_view, 5> kTableMarkers = {"Val  Para", "No target", "No goal",
                                                           "Optim", "No,Set,Parameter,"};

// Characters, not bytes: a line of Cyrillic text is as long as it looks.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// A data line's fields: at tabs, else at spaces, else at commas.
std::vector<std::string> SplitDataLine(std::string_view line) {
    std::vector<std::string> fields = Split(line, "\t");
    if (fields.size() == 1) {
        fields = Split(line, " ");
    }
    if (fields.size() == 1) {
        fields = Split(line, ",");
    }
    return fields;
}

// MMANA marks the best set with a trailing star.
std::string CleanDataLine(std::string_view line) {
    std::string text(line);
    const std::size_t last = text.find_last_not_of(' ');
    if (last != std::string::npos && text[last] == '*') {
        text.erase(last);
    }
    return CollapseSpaces(text);
}

struct TableLines {
    std::vector<std::string> headerWords{std::string()};
    // Every data line as kept, with the set number it names and its line.
    std::vector<TableRow> rows;
    // The largest set number: MMANA's optimiser cycles through its variables, so the last line
    // need not name the last set.
    double lastSet = 0.0;
};

// One pass over the text: headers into headerWords, data lines with their sets.
TableLines ReadTableLines(std::string_view text) {
    TableLines result;
    TextLines lines(text);
    std::string_view line;
    for (int number = 1; lines.Next(line); ++number) {
        if (ContainsNoCase(line, "Val")) {
            const std::string collapsed = CollapseSpaces(line);
            result.headerWords = Split(collapsed, " ");
            if (result.headerWords.size() == 1) {
                result.headerWords = Split(collapsed, ",");
            }
            continue;
        }
        if (ContainsNoCase(line, "No,Set,Parameter,")) {
            result.headerWords = Split(line, ",");
            continue;
        }
        if (ContainsNoCase(line, "No goal") || ContainsNoCase(line, "Optim") ||
            CharacterCount(line) < 20) {
            continue;
        }
        std::string data = CleanDataLine(line);
        if (data.empty()) {
            continue; // spaces only: nothing to read
        }
        std::vector<std::string> fields = SplitDataLine(data);
        if (fields.size() < 2) {
            throw InputError("Subscript out of range", {kMissingFieldCause, number, 2});
        }
        const double set = LeadingNumber(fields[1]);
        result.lastSet = result.rows.empty() ? set : std::max(result.lastSet, set);
        result.rows.push_back({std::move(data), set, number});
    }
    return result;
}

} // namespace

bool IsMmanaTable(std::string_view text) {
    for (std::string_view marker : kTableMarkers) {
        if (ContainsNoCase(text, marker)) {
            return true;
        }
    }
    const std::size_t firstEnd = text.find('\r');
    if (firstEnd == std::string_view::npos) {
        return false;
    }
    const std::string_view first = text.substr(0, firstEnd);
    const std::size_t firstCharacter = first.find_first_not_of(' ');
    if (firstCharacter == std::string_view::npos || first[firstCharacter] != '1') {
        return false;
    }
    if (Split(first, ",").size() == 9 || Split(first, " ").size() == 9) {
        return true;
    }
    const std::vector<std::string> tabFields = Split(first, "\t");
    return tabFields.size() == 9 && TrimSpaces(tabFields[0]) == "1";
}

Parsed<OptimisationTable> ParseTable(std::string_view text, bool fromWindow) {
    Parsed<OptimisationTable> parsed;
    try {
        if (!IsMmanaTable(FirstLine(text))) {
            parsed.Tell(kWrongFormatMessage, MessageIcon::Information, {kUnknownHeaderCause, 1});
            parsed.status = std::string(kInputErrorStatus);
            return parsed;
        }
        TableLines lines = ReadTableLines(text);
        OptimisationTable table;
        table.fromWindow = fromWindow;
        table.headerWords = std::move(lines.headerWords);
        table.rows = std::move(lines.rows);
        table.lastSet = lines.lastSet;
        parsed.result = std::move(table);
    } catch (const std::exception& error) {
        parsed.Tell(ErrorDescription(error), MessageIcon::Critical, CauseOf(error));
    }
    return parsed;
}

namespace {

// The table's rows of a set into the result's DataText, HeaderWords, set list and Series. False
// after adding its messages and status to the result.
bool TableToSeries(const OptimisationTable& table, int set, std::string_view decimalSeparator,
                   LoadResult& result) {
    DataSet& data = result.data;
    try {
        if (set == 0) {
            set = 1;
        }
        data.DataText.clear();
        data.HeaderWords = table.headerWords;
        // The rows of the set asked for; without one, every row.
        const bool filtered =
            std::ranges::any_of(table.rows, [set](const TableRow& row) { return row.set == set; });
        std::vector<int> lines;
        for (const TableRow& row : table.rows) {
            if (!filtered || row.set == set) {
                data.DataText += row.text;
                data.DataText += "\r\n";
                lines.push_back(row.line);
            }
        }
        if (table.rows.empty()) {
            // A table without a single data line has nothing to show.
            result.Tell(kReadErrorMessage, MessageIcon::Information, {kNoDataCause});
            result.status = std::string();
            return false;
        }
        result.sets = FillSetList(table.lastSet, filtered, set);
        Rejection refusal;
        if (!RowsToSeries(data, decimalSeparator, false, lines, &refusal)) {
            result.Tell(kReadErrorMessage, MessageIcon::Information, refusal);
            result.status = std::string();
            return false;
        }
        return true;
    } catch (const std::exception& error) {
        result.Tell(ErrorDescription(error), MessageIcon::Critical, CauseOf(error));
        return false;
    }
}

} // namespace

bool ParseMmanaText(std::string_view text, int set, std::string_view decimalSeparator,
                    LoadResult& result) {
    result.data.DataText.clear();
    Parsed<OptimisationTable> parsed = ParseTable(text, false);
    for (const LoadMessage& message : parsed.messages) {
        result.Tell(message.text, message.icon, message.cause);
    }
    if (parsed.status) {
        result.status = parsed.status;
    }
    return parsed.result && TableToSeries(*parsed.result, set, decimalSeparator, result);
}

bool RowsToSeries(DataSet& data, std::string_view decimalSeparator, bool renumber,
                  const std::vector<int>& lines, Rejection* refusal) {
    const auto lineOf = [&lines](std::size_t row) {
        return row < lines.size() ? lines[row] : static_cast<int>(row) + 1;
    };
    std::string& text = data.DataText;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
        text.pop_back();
    }
    if (text.empty()) {
        return false;
    }
    const auto rowCount = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r')) + 1;
    if (rowCount > static_cast<std::size_t>(kGridRowLimit)) {
        throw InputError("Overflow",
                         {kTooManyRowsCause, lineOf(static_cast<std::size_t>(kGridRowLimit))});
    }
    std::vector<std::string> rows = Split(text, "\r");
    if (renumber) {
        text.clear();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            rows[r] = std::to_string(r + 1) + "\t1\t" + rows[r];
            if (r > 0) {
                text += "\r\n";
            }
            text += rows[r];
        }
    }
    if (data.DataKind >= KindNearField && data.DataKind <= KindFarField) {
        return true;
    }
    for (SeriesRecord& series : data.Series) {
        series.Values.assign(rows.size(), 0.0f);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::string> fields = Split(rows[r], "\t");
        if (fields.size() <= 1) {
            fields = Split(rows[r], ",");
        }
        if (fields.size() <= 1) {
            fields = Split(rows[r], " ");
        }
        if (fields.size() <= 1) {
            if (refusal != nullptr) {
                *refusal = {kUnsplitLineCause, lineOf(r)};
            }
            return false;
        }
        if (fields.size() < 2 + kSeriesCount) {
            throw InputError("Subscript out of range",
                             {kMissingFieldCause, lineOf(r), static_cast<int>(fields.size()) + 1});
        }
        for (std::size_t f = 2; f < 2 + kSeriesCount; ++f) {
            data.Series[f - 2].Values[r] = FieldFloat(ToPointForm(fields[f], decimalSeparator),
                                                      lineOf(r), static_cast<int>(f) + 1);
        }
    }
    StoreSeriesLimits(data, kSeriesUpperBound);
    return true;
}

SetList FillSetList(double setCount, bool filtered, int set) {
    const int count = ToInt16(setCount);
    SetList list;
    if (!filtered) {
        list.entries.push_back({std::to_string(count), count});
        list.selected = 0;
    } else {
        for (int entry = 1; entry <= count; ++entry) {
            list.entries.push_back({std::to_string(entry), entry});
        }
        if (set >= 1 && set <= static_cast<int>(list.entries.size())) {
            list.selected = set - 1;
        }
    }
    return list;
}

LoadResult DeriveLoad(const OptimisationTable& table, const LoadRequest& request) {
    LoadResult result;
    result.reader = table.fromWindow ? KindMmanaWindow : KindTable;
    DataSet& data = result.data;
    data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
    data.DataKind = result.reader;
    if (!TableToSeries(table, request.set, request.decimalSeparator, result)) {
        result.data.Series = DataSet{}.Series;
        return result;
    }
    if (table.fromWindow) {
        SetLabels(data, {"Parameter", "R", "j X", "SWR", "Ga", "F / B", "Elev"});
        result.curves = 0;
        result.loaded = true;
        return result;
    }
    const std::vector<std::string>& words = data.HeaderWords;
    static constexpr std::array<const char*, kSeriesCount> kDefaultLabels = {"X",  "Y1", "Y2", "Y3",
                                                                             "Y4", "Y5", "Y6"};
    for (std::size_t c = 0; c < kSeriesCount; ++c) {
        if (words.size() == 9) {
            data.Series[c].Label = words[c + 2];
        } else if (words.size() == 8) {
            data.Series[c].Label = words[c + 1];
        } else {
            data.Series[c].Label = kDefaultLabels[c];
        }
    }
    return Accepted(std::move(result), KindTable, KindTable, request);
}

LoadResult ReadTable(std::string_view text, const LoadRequest& request) {
    Parsed<OptimisationTable> parsed = ParseTable(text, false);
    if (!parsed.result) {
        LoadResult result = Refusal(KindTable, std::move(parsed), request);
        result.data.DataKind = KindTable;
        return result;
    }
    return DeriveDocument(std::move(*parsed.result), request);
}

} // namespace lobex
