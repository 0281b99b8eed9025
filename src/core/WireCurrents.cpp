#include "WireCurrents.h"

#include "DataGrid.h"
#include "Errors.h"
#include "Messages.h"
#include "MmanaTable.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Texts.h"

#include <array>
#include <cmath>

namespace lobex {
namespace {

constexpr std::size_t kCurrentFields = 9;

struct NoPulses {};

// The last line that holds anything: its wire number is the number of wires.
std::string_view LastDataLine(std::string_view text) {
    TextLines lines(text);
    std::string_view line;
    lines.Next(line);
    std::string_view last;
    while (lines.Next(line)) {
        if (!IsBlankLine(line)) {
            last = line;
        }
    }
    return last;
}

double Distance(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    const double dx = a[0] - b[0];
    const double dy = a[1] - b[1];
    const double dz = a[2] - b[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

std::vector<float> RelativePositions(const std::vector<float>& s) {
    std::vector<float> positions(s.size());
    if (s.empty()) {
        return positions;
    }
    const std::size_t n = s.size() - 1;
    float total = 0.0f;
    if (n > 0) {
        float start = 0.0f;
        float end = 0.0f;
        if (n == 1) {
            start = s[0] - (s[1] - s[0]);
            end = s[1] + (s[1] - s[0]);
        } else {
            start = s[2] - s[1] != s[1] - s[0] ? s[0] - (s[1] - s[0]) / 2.0f : s[0] - (s[1] - s[0]);
            end = s[n] - s[n - 1] != s[n - 1] - s[n - 2] ? s[n] + (s[n] - s[n - 1]) / 2.0f
                                                         : s[n] + (s[n] - s[n - 1]);
        }
        positions[0] = std::fabs(start - s[0]);
        for (std::size_t i = 1; i <= n; ++i) {
            positions[i] = positions[i - 1] + std::fabs(s[i] - s[i - 1]);
        }
        total = std::fabs(end - s[n]) + positions[n];
    }
    if (total > 0.0f && std::isfinite(total)) {
        for (float& position : positions) {
            position /= total;
        }
    } else {
        // A single pulse, or pulses the distances cannot tell apart: equal steps, with a step
        // beyond each end as for a straight wire.
        for (std::size_t i = 0; i <= n; ++i) {
            positions[i] = static_cast<float>(i + 1) / static_cast<float>(n + 2);
        }
    }
    return positions;
}

LoadResult ReadCurrents(std::string_view text, const LoadRequest& request) {
    LoadResult result;
    result.reader = KindCurrents;
    DataSet& data = result.data;
    int wire = request.set;
    data.SelectedSetIndex = static_cast<std::int16_t>(wire);
    try {
        if (TrimSpaces(FirstLine(text)) != kCurrentsHeader) {
            return Refused(std::move(result), kWrongFormatMessage, MessageIcon::Information);
        }
        if (wire == 0) {
            const std::vector<std::string> fields = Split(LastDataLine(text), ",");
            result.sets = FillSetList(fields.empty() ? 0.0 : LeadingNumber(fields[0]), true, 1);
            wire = 1;
            data.SelectedSetIndex = 1;
        }
        std::array<std::vector<float>, 5> columns;
        std::array<double, 3> previous{};
        double along = 0.0;
        TextLines reader(text);
        std::string_view line;
        reader.Next(line);
        while (reader.Next(line)) {
            if (IsBlankLine(line)) {
                continue;
            }
            const std::vector<std::string> fields = Split(line, ",");
            if (LeadingNumber(fields[0]) != wire) {
                continue;
            }
            if (fields.size() < kCurrentFields) {
                throw RuntimeError("Subscript out of range");
            }
            if (columns[0].size() == static_cast<std::size_t>(kGridRowLimit)) {
                throw RuntimeError("Overflow"); // the pulse counter is 16 bits
            }
            const std::array<double, 3> point = {LeadingNumber(fields[2]), LeadingNumber(fields[3]),
                                                 LeadingNumber(fields[4])};
            // The distance along the wire: the first pulse's from the origin, then each pulse's
            // from the one before. A centred element runs through the origin, so distances from
            // the origin would fold back on themselves.
            along += Distance(point, columns[0].empty() ? std::array<double, 3>{} : previous);
            previous = point;
            columns[0].push_back(static_cast<float>(along));
            columns[1].push_back(LeadingFloat(fields[5]));
            columns[2].push_back(LeadingFloat(fields[6]));
            columns[3].push_back(LeadingFloat(fields[7]));
            columns[4].push_back(LeadingFloat(FormatPattern(LeadingFloat(fields[8]), "#0.0", ".")));
        }
        if (columns[0].empty()) {
            throw NoPulses{};
        }
        for (std::size_t c = 0; c < columns.size(); ++c) {
            data.Series[c].Values = std::move(columns[c]);
        }
        data.Series[5].Values.assign(data.Series[0].Values.size(), 0.0f);
    } catch (const NoPulses&) {
        // A wire the file does not list has nothing to show.
        return Refused(std::move(result), kWrongFormatMessage, MessageIcon::Information);
    } catch (const std::exception& error) {
        return Refused(std::move(result), ErrorDescription(error), MessageIcon::Critical);
    }
    StoreSeriesLimits(data, 4);
    data.Series[0].Values = RelativePositions(data.Series[0].Values);
    data.Series[0].Min = 0.0f;
    data.Series[0].Max = 1.0f;

    SetLabels(data, {LOBEX_TEXT("Длина"), "Re", "Im", "Amplitude", "Phase", "", ""});
    result.setCaption = LOBEX_TEXT("Провод:");
    return Accepted(std::move(result), KindCurrents, 4, request);
}

} // namespace lobex
