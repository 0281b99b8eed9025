#include "SweepFile.h"

#include "DataGrid.h"
#include "Errors.h"
#include "ImpedanceColumns.h"
#include "Messages.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Texts.h"
#include "model/Impedance.h"

#include <algorithm>
#include <array>
#include <complex>
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

// A perfect match has no finite return loss; shown as this, beyond any analyser's floor, it keeps
// the grid and the graph's scale readable.
constexpr double kLargestReturnLoss = 100.0;

// A measurement's return loss and |Γ| against its own reference impedance, in place of the gain
// and F/B it does not have.
void StoreReflection(const Sweep& sweep, DataSet& data) {
    const std::complex<double> z0 =
        sweep.header.size() > 3 ? HeaderImpedance(sweep.header[3]).value_or(50.0) : 50.0;
    const Checked<SweepReflection> curves = ReflectSweep(sweep, z0);
    for (std::size_t r = 0; curves && r < sweep.points.size(); ++r) {
        data.Series[4].Values[r] =
            static_cast<float>(std::min(curves.value->returnLoss[r], kLargestReturnLoss));
        data.Series[5].Values[r] = static_cast<float>(curves.value->magnitude[r]);
    }
}

} // namespace

Parsed<Sweep> ParseSweep(std::string_view text) {
    Parsed<Sweep> parsed;
    try {
        TextLines lines(text);
        std::string_view line;
        if (!lines.Next(line) || !HasSweepHeader(DecodeText(line))) {
            parsed.Tell(kWrongFormatMessage, MessageIcon::Information, {kUnknownHeaderCause, 1});
            return parsed;
        }
        Sweep sweep;
        // The SWR column's header names the line impedance the SWR was computed for.
        sweep.header = Split(DecodeText(line), ",");
        for (int number = 2; lines.Next(line); ++number) {
            if (IsBlankLine(line)) {
                continue;
            }
            if (sweep.points.size() == static_cast<std::size_t>(kGridRowLimit)) {
                // The row counter is 16 bits.
                throw InputError("Overflow", {kTooManyRowsCause, number});
            }
            const std::vector<std::string> fields = Split(line, ",");
            if (fields.size() < kSweepColumns) {
                throw InputError("Subscript out of range",
                                 {kMissingFieldCause, number, static_cast<int>(fields.size()) + 1});
            }
            std::array<float, kSweepColumns> values{};
            for (std::size_t c = 0; c < kSweepColumns; ++c) {
                values[c] = FieldFloat(fields[c], number, static_cast<int>(c) + 1);
            }
            sweep.points.push_back(
                {values[0], {values[1], values[2]}, values[3], values[4], values[5]});
        }
        // A header alone is no sweep: a row of zeros at 0 MHz would be shown as data.
        if (sweep.points.empty()) {
            throw InputError("Input past end of file", {kNoDataCause});
        }
        parsed.result = std::move(sweep);
    } catch (const std::exception& error) {
        // A bad row is a bad file: say so rather than end the load in silence.
        parsed.Tell(kWrongFormatMessage, MessageIcon::Information, CauseOf(error));
    }
    return parsed;
}

LoadResult DeriveLoad(const Sweep& sweep, const LoadRequest& request) {
    LoadResult result;
    result.reader = KindSweep;
    DataSet& data = result.data;
    data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
    data.HeaderWords = sweep.header;
    for (std::size_t c = 0; c < kSweepColumns; ++c) {
        data.Series[c].Values.resize(sweep.points.size());
    }
    for (std::size_t r = 0; r < sweep.points.size(); ++r) {
        const SweepPoint& point = sweep.points[r];
        data.Series[0].Values[r] = point.frequency;
        data.Series[1].Values[r] = point.impedance.real();
        data.Series[2].Values[r] = point.impedance.imag();
        data.Series[3].Values[r] = point.swr;
        data.Series[4].Values[r] = point.gain;
        data.Series[5].Values[r] = point.frontToBack;
    }
    if (sweep.measurement) {
        StoreReflection(sweep, data);
    }
    StoreSeriesLimits(data, kSweepColumns - 1);
    if (sweep.measurement) {
        SetLabels(data, {LOBEX_TEXT("Частота"), "R", "j X", LOBEX_TEXT("КСВ"),
                         kReturnLossCaption.data(), kReflectionCaption.data(), ""});
    } else {
        SetLabels(data, {LOBEX_TEXT("Частота"), "R", "j X", LOBEX_TEXT("КСВ"), LOBEX_TEXT("Усил"),
                         LOBEX_TEXT("Впер/Назад"), ""});
    }
    if (!request.setChosen) {
        result.sets = SetList{};
    }
    return Accepted(std::move(result), KindSweep, 5, request);
}

LoadResult ReadSweep(std::string_view text, const LoadRequest& request) {
    return LoadParsed(KindSweep, ParseSweep(text), request);
}

} // namespace lobex
