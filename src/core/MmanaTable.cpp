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

struct PassResult {
    std::optional<std::vector<std::string>> lastFields;
};

// One pass over the file: headers into HeaderWords, kept data lines into DataText.
PassResult ReadTablePass(AppState& state, const std::string& path, bool filtered, int set) {
    PassResult result;
    state.Data.HeaderWords.assign(1, std::string());
    LineReader reader(path);
    std::string_view raw;
    while (reader.Next(raw)) {
        const std::string line = DecodeText(raw);
        if (ContainsNoCase(line, "Val")) {
            const std::string collapsed = CollapseSpaces(line);
            state.Data.HeaderWords = Split(collapsed, " ");
            if (state.Data.HeaderWords.size() == 1) {
                state.Data.HeaderWords = Split(collapsed, ",");
            }
            continue;
        }
        if (ContainsNoCase(line, "No,Set,Parameter,")) {
            state.Data.HeaderWords = Split(line, ",");
            continue;
        }
        if (ContainsNoCase(line, "No goal") || ContainsNoCase(line, "Optim") ||
            CharacterCount(line) < 20) {
            continue;
        }
        const std::string data = CleanDataLine(line);
        if (data.empty()) {
            continue; // spaces only: nothing to read
        }
        std::vector<std::string> fields = SplitDataLine(data);
        if (filtered && fields.size() < 2) {
            throw RuntimeError("Subscript out of range");
        }
        const bool keep = !filtered || LeadingNumber(fields[1]) == set;
        result.lastFields = std::move(fields);
        if (!keep) {
            continue;
        }
        state.Data.DataText += data;
        state.Data.DataText += "\r\n";
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

bool ParseMmanaText(LoadContext& ctx, const std::string& path, int set) {
    AppState& state = ctx.state;
    bool filtered = true;
    try {
        if (set == 0) {
            set = 1;
        }
        PassResult pass;
        while (true) {
            state.Data.DataText.clear();
            if (!IsMmanaTable(ReadFirstLine(path))) {
                Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
                ctx.view.SetStatus(kInputErrorStatus);
                return false;
            }
            pass = ReadTablePass(state, path, filtered, set);
            if (!state.Data.DataText.empty() || !filtered) {
                break;
            }
            filtered = false; // no row of the set asked for: keep every row
        }
        if (!pass.lastFields) {
            // A table without a single data line has nothing to show.
            Tell(ctx, kReadErrorMessage, MessageIcon::Information);
            ctx.view.SetStatus("");
            return false;
        }
        if (pass.lastFields->size() < 2) {
            throw RuntimeError("Subscript out of range");
        }
        FillSetList(ctx, (*pass.lastFields)[1], filtered, set);
        if (!RowsToSeries(state, false)) {
            Tell(ctx, kReadErrorMessage, MessageIcon::Information);
            ctx.view.SetStatus("");
            return false;
        }
        return true;
    } catch (const std::exception& error) {
        Tell(ctx, ErrorDescription(error), MessageIcon::Critical);
        return false;
    }
}

bool RowsToSeries(AppState& state, bool renumber) {
    DataSet& data = state.Data;
    std::string& text = data.DataText;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
        text.pop_back();
    }
    if (text.empty()) {
        return false;
    }
    const auto rowCount = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r')) + 1;
    if (rowCount > static_cast<std::size_t>(kGridRowLimit)) {
        throw RuntimeError("Overflow");
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
            return false;
        }
        if (fields.size() < 2 + kSeriesCount) {
            throw RuntimeError("Subscript out of range");
        }
        for (std::size_t f = 2; f < 2 + kSeriesCount; ++f) {
            data.Series[f - 2].Values[r] =
                LeadingFloat(ToPointForm(fields[f], state.DecimalSeparator));
        }
    }
    StoreSeriesLimits(data, kSeriesUpperBound);
    return true;
}

void FillSetList(LoadContext& ctx, std::string_view lastSetText, bool filtered, int set) {
    // Converted first: an error here must not leave the list marked as being filled.
    const int count = ToInt16(LeadingNumber(lastSetText));
    ctx.state.ComboFilling = true;
    DataView& view = ctx.view;
    view.ParamClear();
    if (!filtered) {
        view.ParamAddItem(std::to_string(count), count);
        view.ParamSetListIndex(0);
    } else {
        for (int entry = 1; entry <= count; ++entry) {
            view.ParamAddItem(std::to_string(entry), entry);
        }
        if (set >= 1 && set <= view.ParamCount()) {
            view.ParamSetListIndex(set - 1);
        }
    }
    view.ParamSetEnabled(true);
    ctx.state.ComboFilling = false;
}

bool LoadTableFile(LoadContext& ctx, const std::string& path) {
    AppState& state = ctx.state;
    DataSet& data = state.Data;
    state.PatternShown = false;
    ClearSeries(state);
    data.DataKind = KindTable;
    if (!ParseMmanaText(ctx, path, data.SelectedSetIndex)) {
        ClearSeries(state);
        return false;
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
    SetGridHeader(ctx, "");
    if (!state.SetChosen) {
        ctx.view.FillCombos(KindTable);
    }
    data.DataText = kDataLoaded;
    data.DataKind = KindTable;
    return true;
}

} // namespace lobex
