#include "NearField.h"

#include "DataGrid.h"
#include "Errors.h"
#include "Messages.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Texts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

namespace lobex {
namespace {

constexpr std::size_t kNearFieldFields = 8;

constexpr std::string_view kTooManyPointsCause =
    LOBEX_TEXT("строка %1: больше 32767 точек на линию");
constexpr std::string_view kComponentsMissingCause =
    LOBEX_TEXT("строка %1: файл кончается раньше строк составляющих Y и Z этой точки");
constexpr std::string_view kNoLineCause = LOBEX_TEXT("в файле нет этой линии");

// The next line that holds anything, split at ","; false at the end of the file. number counts
// the lines read.
bool NextFields(TextLines& reader, std::vector<std::string>& fields, int& number) {
    std::string_view line;
    while (reader.Next(line)) {
        ++number;
        if (!IsBlankLine(line)) {
            fields = Split(line, ",");
            return true;
        }
    }
    return false;
}

struct Component {
    float re = 0.0f;
    float im = 0.0f;
    float magnitude = 0.0f;
    float phase = 0.0f;
};

Component ReadComponent(const std::vector<std::string>& fields, int number) {
    if (fields.size() < kNearFieldFields) {
        throw InputError("Subscript out of range",
                         {kMissingFieldCause, number, static_cast<int>(fields.size()) + 1});
    }
    return Component{LeadingFloat(fields[4]), LeadingFloat(fields[5]), LeadingFloat(fields[6]),
                     LeadingFloat(fields[7])};
}

void Store(const Component& component, float& re, float& im, float& magnitude, float& phase) {
    re = component.re;
    im = component.im;
    magnitude = component.magnitude;
    phase = component.phase;
}

} // namespace

Parsed<NearField> ParseNearField(std::string_view text) {
    Parsed<NearField> parsed;
    NearField field;
    try {
        const std::string header = TrimSpaces(FirstLine(text));
        if (header == kNearFieldElectricHeader) {
            field.electric = true;
        } else if (header == kNearFieldMagneticHeader) {
            field.electric = false;
        } else {
            parsed.Tell(kWrongFormatMessage, MessageIcon::Information, {kUnknownHeaderCause, 1});
            return parsed;
        }
        TextLines reader(text);
        std::string_view headerLine;
        reader.Next(headerLine);
        std::vector<std::string> fields;
        int number = 1;
        while (NextFields(reader, fields, number)) {
            if (fields.size() < 3) {
                throw InputError("Subscript out of range",
                                 {kMissingFieldCause, number, static_cast<int>(fields.size()) + 1});
            }
            const double y = LeadingNumber(fields[1]);
            const double z = LeadingNumber(fields[2]);
            auto line = std::find_if(
                field.lines.begin(), field.lines.end(),
                [y, z](const NearFieldLine& known) { return known.y == y && known.z == z; });
            if (line == field.lines.end()) {
                field.lines.push_back({y, z, {}});
                line = std::prev(field.lines.end());
            }
            std::vector<NearFieldPoint>& points = line->points;
            if (points.size() == static_cast<std::size_t>(kGridRowLimit)) {
                // The point counter is 16 bits.
                throw InputError("Overflow", {kTooManyPointsCause, number});
            }
            NearFieldPoint point;
            point.X = LeadingFloat(fields[0]);
            const int pointLine = number;
            std::array<Component, 3> components;
            for (std::size_t k = 0; k < components.size(); ++k) {
                if (k > 0 && !NextFields(reader, fields, number)) {
                    throw InputError("Input past end of file",
                                     {kComponentsMissingCause, pointLine});
                }
                components[k] = ReadComponent(fields, number);
            }
            Store(components[0], point.ReX, point.ImX, point.MagX, point.PhaseX);
            Store(components[1], point.ReY, point.ImY, point.MagY, point.PhaseY);
            Store(components[2], point.ReZ, point.ImZ, point.MagZ, point.PhaseZ);
            point.ReSum = point.ReX + point.ReY + point.ReZ;
            point.ImSum = point.ImX + point.ImY + point.ImZ;
            // The field's strength, not the magnitude of the components' sum, which shows nulls
            // where the components only point different ways.
            point.Amplitude = FieldMagnitude(point);
            point.PhaseRad = SummedPhase(point.ReSum, point.ImSum);
            points.push_back(point);
        }
        if (field.lines.empty()) {
            throw InputError("Subscript out of range", {kNoDataCause});
        }
    } catch (const std::exception& error) {
        // A broken file is reported, never dropped in silence.
        parsed.Tell(kWrongFormatMessage, MessageIcon::Information, CauseOf(error));
        return parsed;
    }
    parsed.result = std::move(field);
    return parsed;
}

LoadResult DeriveLoad(const NearField& field, const LoadRequest& request) {
    LoadResult result;
    result.reader = KindNearField;
    result.electricField = field.electric;
    DataSet& data = result.data;
    const int chosenLine = request.set == 0 ? 1 : request.set;
    data.SelectedSetIndex = static_cast<std::int16_t>(chosenLine);
    if (chosenLine < 1 || chosenLine > static_cast<int>(field.lines.size())) {
        return Refused(std::move(result), kWrongFormatMessage, MessageIcon::Information,
                       {kNoLineCause});
    }
    const std::vector<NearFieldPoint>& points =
        field.lines[static_cast<std::size_t>(chosenLine - 1)].points;
    for (std::size_t c = 0; c <= 4; ++c) {
        data.Series[c].Values.assign(points.size(), 0.0f);
    }
    for (std::size_t p = 0; p < points.size(); ++p) {
        const NearFieldPoint& point = points[p];
        data.Series[0].Values[p] = point.X;
        data.Series[1].Values[p] = point.ReSum;
        data.Series[2].Values[p] = point.ImSum;
        data.Series[3].Values[p] = point.Amplitude;
        const float degrees = point.PhaseRad * 180.0f / request.pi;
        data.Series[4].Values[p] = LeadingFloat(FormatPattern(degrees, "0.0#", "."));
    }
    result.nearField = points;
    StoreSeriesLimits(data, 4);
    SetLabels(data, {LOBEX_TEXT("Удаление"), "Re", "Im", "Amplitude", "Phase", "", ""});
    result.setCaption = LOBEX_TEXT("Линия:");
    if (request.set == 0) {
        SetList list;
        for (std::size_t l = 0; l < field.lines.size(); ++l) {
            const NearFieldLine& line = field.lines[l];
            list.entries.push_back(
                {"Y=" + LocaleNumberText(static_cast<float>(line.y), request.decimalSeparator) +
                     ", Z=" +
                     LocaleNumberText(static_cast<float>(line.z), request.decimalSeparator),
                 static_cast<int>(l + 1)});
        }
        list.selected = 0;
        result.sets = std::move(list);
    }
    return Accepted(std::move(result), KindNearField, 4, request);
}

LoadResult ReadNearField(std::string_view text, const LoadRequest& request) {
    Parsed<NearField> parsed = ParseNearField(text);
    if (!parsed.result) {
        LoadResult result = Refusal(KindNearField, std::move(parsed), request);
        result.data.SelectedSetIndex =
            static_cast<std::int16_t>(request.set == 0 ? 1 : request.set);
        return result;
    }
    return DeriveDocument(std::move(*parsed.result), request);
}

} // namespace lobex
