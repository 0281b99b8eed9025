#include "SweepFile.h"

#include "DataGrid.h"
#include "Errors.h"
#include "Messages.h"
#include "TextFile.h"
#include "TextRules.h"

#include <array>
#include <vector>

namespace lobex {
namespace {

constexpr int kSweepColumns = 6;

// The header test of the reader itself: the start of the header anywhere in the line.
bool HasSweepHeader(std::string_view line) {
    return line.find("Freq(MHz),R(Om),jX(Om)") != std::string_view::npos ||
           line.find(kSweepHeaderPrefixOhm) != std::string_view::npos;
}

} // namespace

bool LoadSweepFile(LoadContext& ctx, const std::string& path) {
    AppState& state = ctx.state;
    DataSet& data = state.Data;
    state.PatternShown = false;
    ClearSeries(state);
    try {
        LineReader reader(path);
        std::string_view line;
        if (!reader.Next(line) || !HasSweepHeader(DecodeText(line))) {
            Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
            return false;
        }
        std::array<std::vector<float>, kSweepColumns> columns;
        std::size_t rows = 0;
        while (reader.Next(line)) {
            if (IsBlankLine(line)) {
                continue;
            }
            if (rows == static_cast<std::size_t>(kGridRowLimit)) {
                throw RuntimeError("Overflow"); // the row counter is 16 bits
            }
            const std::vector<std::string> fields = Split(line, ",");
            if (fields.size() < kSweepColumns) {
                throw RuntimeError("Subscript out of range");
            }
            for (std::size_t c = 0; c < kSweepColumns; ++c) {
                columns[c].push_back(LeadingFloat(fields[c]));
            }
            ++rows;
        }
        // A header alone leaves the cleared row of zeros.
        if (rows > 0) {
            for (std::size_t c = 0; c < kSweepColumns; ++c) {
                data.Series[c].Values = std::move(columns[c]);
            }
        }
    } catch (const std::exception&) {
        // A bad row is a bad file: say so rather than end the load in silence.
        ClearSeries(state);
        Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
        return false;
    }
    StoreSeriesLimits(data, kSweepColumns - 1);
    static constexpr std::array<const char*, kSeriesCount> kLabels = {
        "Частота", "R", "j X", "КСВ", "Усил", "Впер/Назад", ""};
    for (std::size_t c = 0; c < kSeriesCount; ++c) {
        data.Series[c].Label = kLabels[c];
    }
    SetGridHeader(ctx, "");
    if (!state.SetChosen) {
        ctx.view.FillCombos(5);
        ctx.view.ParamClear();
        ctx.view.ParamSetEnabled(false);
    }
    data.DataText = kDataLoaded;
    data.DataKind = KindSweep;
    return true;
}

} // namespace lobex
