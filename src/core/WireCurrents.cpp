#include "WireCurrents.h"

#include "DataGrid.h"
#include "Errors.h"
#include "Messages.h"
#include "MmanaTable.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Texts.h"

#include <array>

namespace lobex {
namespace {

constexpr std::size_t kCurrentFields = 9;

constexpr std::string_view kTooManyPulsesCause =
    LOBEX_TEXT("строка %1: больше 32767 импульсов на провод");
constexpr std::string_view kNoWireCause = LOBEX_TEXT("в файле нет токов этого провода");

struct NoPulses {};

Wire& WireNumbered(WireCurrents& currents, double number) {
    // The lines of a wire come together: the last wire is nearly always the one.
    if (currents.wires.empty() || currents.wires.back().number != number) {
        for (Wire& wire : currents.wires) {
            if (wire.number == number) {
                return wire;
            }
        }
        currents.wires.push_back(Wire{number, {}, WireFault::None});
    }
    return currents.wires.back();
}

} // namespace

Parsed<WireCurrents> ParseCurrents(std::string_view text) {
    Parsed<WireCurrents> parsed;
    try {
        if (TrimSpaces(FirstLine(text)) != kCurrentsHeader) {
            parsed.Tell(kWrongFormatMessage, MessageIcon::Information, {kUnknownHeaderCause, 1});
            return parsed;
        }
        WireCurrents currents;
        TextLines reader(text);
        std::string_view line;
        reader.Next(line);
        for (int number = 2; reader.Next(line); ++number) {
            if (IsBlankLine(line)) {
                continue;
            }
            const std::vector<std::string> fields = Split(line, ",");
            currents.lastWire = LeadingNumber(fields[0]);
            Wire& wire = WireNumbered(currents, currents.lastWire);
            if (wire.fault != WireFault::None) {
                continue;
            }
            if (fields.size() < kCurrentFields) {
                wire.fault = WireFault::ShortLine;
                wire.faultLine = number;
                wire.faultField = static_cast<int>(fields.size()) + 1;
            } else if (wire.pulses.size() == static_cast<std::size_t>(kGridRowLimit)) {
                wire.fault = WireFault::TooManyPulses; // the pulse counter is 16 bits
                wire.faultLine = number;
            } else {
                wire.pulses.push_back({LeadingNumber(fields[2]), LeadingNumber(fields[3]),
                                       LeadingNumber(fields[4]), LeadingFloat(fields[5]),
                                       LeadingFloat(fields[6]), LeadingFloat(fields[7]),
                                       LeadingFloat(fields[8])});
            }
        }
        parsed.result = std::move(currents);
    } catch (const std::exception& error) {
        parsed.Tell(ErrorDescription(error), MessageIcon::Critical, CauseOf(error));
    }
    return parsed;
}

LoadResult DeriveLoad(const WireCurrents& currents, const LoadRequest& request) {
    LoadResult result;
    result.reader = KindCurrents;
    DataSet& data = result.data;
    int wire = request.set;
    data.SelectedSetIndex = static_cast<std::int16_t>(wire);
    try {
        if (wire == 0) {
            result.sets = FillSetList(currents.lastWire, true, 1);
            wire = 1;
            data.SelectedSetIndex = 1;
        }
        const Wire* shown = currents.Find(wire);
        if (shown != nullptr && shown->fault == WireFault::ShortLine) {
            throw InputError("Subscript out of range",
                             {kMissingFieldCause, shown->faultLine, shown->faultField});
        }
        if (shown != nullptr && shown->fault == WireFault::TooManyPulses) {
            throw InputError("Overflow", {kTooManyPulsesCause, shown->faultLine});
        }
        if (shown == nullptr || shown->pulses.empty()) {
            throw NoPulses{};
        }
        const std::size_t count = shown->pulses.size();
        data.Series[0].Values = DistancesAlong(*shown);
        for (std::size_t c = 1; c <= 5; ++c) {
            data.Series[c].Values.resize(count);
        }
        for (std::size_t p = 0; p < count; ++p) {
            const CurrentPulse& pulse = shown->pulses[p];
            data.Series[1].Values[p] = pulse.re;
            data.Series[2].Values[p] = pulse.im;
            data.Series[3].Values[p] = pulse.magnitude;
            data.Series[4].Values[p] = LeadingFloat(FormatPattern(pulse.phase, "#0.0", "."));
        }
    } catch (const NoPulses&) {
        // A wire the file does not list has nothing to show.
        return Refused(std::move(result), kWrongFormatMessage, MessageIcon::Information,
                       {kNoWireCause});
    } catch (const std::exception& error) {
        return Refused(std::move(result), ErrorDescription(error), MessageIcon::Critical,
                       CauseOf(error));
    }
    StoreSeriesLimits(data, 4);
    data.Series[0].Values = RelativePositions(data.Series[0].Values);
    data.Series[0].Min = 0.0f;
    data.Series[0].Max = 1.0f;

    SetLabels(data, {LOBEX_TEXT("Длина"), "Re", "Im", "Amplitude", "Phase", "", ""});
    result.setCaption = LOBEX_TEXT("Провод:");
    return Accepted(std::move(result), KindCurrents, 4, request);
}

LoadResult ReadCurrents(std::string_view text, const LoadRequest& request) {
    return LoadParsed(KindCurrents, ParseCurrents(text), request);
}

} // namespace lobex
