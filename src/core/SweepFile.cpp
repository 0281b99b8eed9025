#include "SweepFile.h"

#include "DataGrid.h"
#include "Errors.h"
#include "Messages.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Texts.h"

#include <array>
#include <vector>

namespace lobex {
namespace {

constexpr int kSweepColumns = 6;

// The header test of the reader itself: the start of the header anywhere in the line.
bool HasSweepHeader(std::string_view line) {
    return line.find("Freq(MHz),R(Om),jX(Om)") != std::string_view::npos ||
           line.find(kSweepHeaderPrefixOhm) != std::string_view::npos ||
           line.find(kSweepHeaderPrefixOmega) != std::string_view::npos;
}

} // namespace

LoadResult ReadSweep(std::string_view text, const LoadRequest& request) {
    LoadResult result;
    result.reader = KindSweep;
    DataSet& data = result.data;
    data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
    try {
        TextLines lines(text);
        std::string_view line;
        if (!lines.Next(line) || !HasSweepHeader(DecodeText(line))) {
            result.Tell(kWrongFormatMessage, MessageIcon::Information);
            return result;
        }
        // The SWR column's header names the line impedance the SWR was computed for.
        data.HeaderWords = Split(DecodeText(line), ",");
        std::array<std::vector<float>, kSweepColumns> columns;
        std::size_t rows = 0;
        while (lines.Next(line)) {
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
        // A header alone is no sweep: a row of zeros at 0 MHz would be shown as data.
        if (rows == 0) {
            throw RuntimeError("Input past end of file");
        }
        for (std::size_t c = 0; c < kSweepColumns; ++c) {
            data.Series[c].Values = std::move(columns[c]);
        }
    } catch (const std::exception&) {
        // A bad row is a bad file: say so rather than end the load in silence.
        return Refused(std::move(result), kWrongFormatMessage, MessageIcon::Information);
    }
    StoreSeriesLimits(data, kSweepColumns - 1);
    SetLabels(data, {LOBEX_TEXT("Частота"), "R", "j X", LOBEX_TEXT("КСВ"), LOBEX_TEXT("Усил"),
                     LOBEX_TEXT("Впер/Назад"), ""});
    if (!request.setChosen) {
        result.sets = SetList{};
    }
    return Accepted(std::move(result), KindSweep, 5, request);
}

} // namespace lobex
