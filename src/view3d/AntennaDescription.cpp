#include "AntennaDescription.h"

#include "core/Errors.h"
#include "core/TextFile.h"
#include "core/TextRules.h"

#include <algorithm>
#include <array>

namespace lobex {
namespace {

// A refusal carrying the reason for the caller.
struct MaaRefusal {
    std::string why;
};

class MaaLines {
public:
    explicit MaaLines(std::string_view bytes) : lines_(SplitLines(DecodeText(bytes))) {}

    bool AtEnd() const { return next_ >= lines_.size(); }
    // The number of the line Next gave last (1 = first line).
    int LineNumber() const { return static_cast<int>(next_); }

    // The next line, trimmed of spaces; running out of lines refuses the file.
    std::string Next(std::string_view expected) {
        if (AtEnd()) {
            throw MaaRefusal{std::string("конец файла, а ожидалось: ").append(expected)};
        }
        return TrimSpaces(lines_[next_++]);
    }

    [[noreturn]] void Refuse(std::string_view what) const {
        throw MaaRefusal{
            std::string("строка ").append(std::to_string(next_)).append(": ").append(what)};
    }

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Japanese MMANA writes "*** ﾜｲﾔ ***" (wires) in half-width katakana; the full-width spelling
// is taken too.
bool IsWiresHeader(std::string_view line) {
    return line == "***Wires***" || Contains(line, "Провода") || Contains(line, "ﾜｲﾔ") ||
           Contains(line, "ワイヤ");
}

// MMANA-GAL writes "***Source***" and "***Load***" without the spaces of older versions;
// Japanese MMANA calls the sources feed points and the loads lumped constants.
bool IsSourceHeader(std::string_view line) {
    return line == "*** Source ***" || line == "***Source***" || Contains(line, "Источ") ||
           Contains(line, "給電点");
}

bool IsLoadHeader(std::string_view line) {
    return line == "***   Load   ***" || line == "*** Load ***" || line == "***Load***" ||
           Contains(line, "Нагрузка") || Contains(line, "集中定数");
}

// A count line: the number of its first word, which must fit a 16-bit integer.
int CountOf(MaaLines& lines, const std::string& line) {
    const std::vector<std::string> words = Split(line, " ");
    try {
        return ToInt16(LeadingNumber(words.empty() ? std::string_view() : words.front()));
    } catch (const RuntimeError&) {
        lines.Refuse("число не помещается в 16 бит");
    }
}

float NumberOf(MaaLines& lines, std::string_view field) {
    try {
        return LeadingFloat(field);
    } catch (const RuntimeError&) {
        lines.Refuse("число вне допустимого диапазона");
    }
}

double FileNumber(MaaLines& lines, std::string_view field) {
    try {
        return LeadingNumber(field);
    } catch (const RuntimeError&) {
        lines.Refuse("число вне допустимого диапазона");
    }
}

AntennaWire ReadWire(MaaLines& lines, MaaModel& model) {
    const std::string line = lines.Next("провод");
    const std::vector<std::string> fields = Split(line, ",");
    if (fields.size() != 8) {
        lines.Refuse("в строке провода не 8 полей");
    }
    std::array<float, 7> value{};
    for (std::size_t i = 0; i < value.size(); ++i) {
        value[i] = NumberOf(lines, fields[i]);
    }
    AntennaWire wire;
    wire.End1 = {value[1], value[2], value[0]};
    wire.End2 = {value[4], value[5], value[3]};
    wire.Radius = value[6];
    MaaWire& file = model.Wires.emplace_back();
    file.End1 = {FileNumber(lines, fields[0]), FileNumber(lines, fields[1]),
                 FileNumber(lines, fields[2])};
    file.End2 = {FileNumber(lines, fields[3]), FileNumber(lines, fields[4]),
                 FileNumber(lines, fields[5])};
    file.Radius = FileNumber(lines, fields[6]);
    file.Segments = static_cast<int>(std::clamp(FileNumber(lines, fields[7]), -1e6, 1e6));
    file.Line = lines.LineNumber();
    return wire;
}

FeedSource ReadSource(MaaLines& lines, const std::vector<AntennaWire>& wires, MaaModel& model) {
    const std::string line = lines.Next("источник");
    const std::vector<std::string> fields = Split(line, ",");
    if (fields.size() < 3) {
        lines.Refuse("в строке источника меньше 3 полей");
    }
    FeedSource source;
    source.Place = fields[0];
    source.Value1 = NumberOf(lines, fields[1]);
    source.Value2 = NumberOf(lines, fields[2]);
    MaaSource& file = model.Sources.emplace_back();
    file.Place = TrimSpaces(fields[0]);
    file.PhaseDegrees = FileNumber(lines, fields[1]);
    file.Volts = FileNumber(lines, fields[2]);
    file.Line = lines.LineNumber();
    const std::string place(TrimSpaces(fields[0]));
    if (const std::optional<SourcePlace> at = ParseSourcePlace(place)) {
        if (at->Wire < 1 || static_cast<std::size_t>(at->Wire) > wires.size()) {
            lines.Refuse("источник на проводе, которого нет в файле");
        }
        const AntennaWire& wire = wires[static_cast<std::size_t>(at->Wire - 1)];
        switch (at->End) {
        case 'B':
            source.Position = wire.End1;
            break;
        case 'E':
            source.Position = wire.End2;
            break;
        default:
            source.Position = (wire.End1 + wire.End2) / 2.0f;
            break;
        }
        source.Valid = true;
    }
    return source;
}

bool IsSegmentationHeader(std::string_view line) {
    return Contains(line, "Segmentation") || Contains(line, "Автосегм") ||
           Contains(line, "自動分割");
}

// "***G/H/M/R/AzEl/X***" in its forms: "*GH/??/R/AzEl/X*" of old MMANA, "計算環境" of Japanese.
bool IsEnvironmentHeader(std::string_view line) {
    return Contains(line, "G/H") || Contains(line, "GH/") || Contains(line, "計算環境");
}

std::vector<double> LineNumbers(MaaLines& lines, const std::string& line) {
    std::vector<double> numbers;
    for (const std::string& field : Split(line, ",")) {
        numbers.push_back(FileNumber(lines, field));
    }
    return numbers;
}

// The sections after the loads: the segmentation, the environment, and sections the model does
// not use (a set of stepped diameters); a comment ends the model.
void ReadTrailingSections(MaaLines& lines, MaaModel& model) {
    while (!lines.AtEnd()) {
        const std::string header = lines.Next("раздел");
        if (header.empty()) {
            continue;
        }
        if (header.starts_with("#")) {
            return;
        }
        if (IsSegmentationHeader(header)) {
            const std::vector<double> values = LineNumbers(lines, lines.Next("автосегментация"));
            if (values.size() < 3) {
                lines.Refuse("в строке автосегментации меньше 3 полей");
            }
            model.Segmentation =
                MaaSegmentation{values[0], values[1], values[2], std::nullopt, lines.LineNumber()};
            if (values.size() > 3) {
                model.Segmentation->Ec = values[3];
            }
        } else if (IsEnvironmentHeader(header)) {
            const std::vector<double> values = LineNumbers(lines, lines.Next("окружение"));
            if (values.size() < 2) {
                lines.Refuse("в строке окружения меньше 2 полей");
            }
            MaaEnvironment& environment = model.Environment.emplace();
            environment.Ground = static_cast<int>(std::clamp(values[0], -1.0, 99.0));
            environment.Height = values[1];
            if (values.size() > 2) {
                environment.Material = static_cast<int>(std::clamp(values[2], -1.0, 99.0));
            }
            if (values.size() > 3) {
                environment.ReferenceOhms = values[3];
            }
            environment.Line = lines.LineNumber();
        } else if (header.starts_with("*") || header.starts_with("$")) {
            model.OtherSections.push_back(header);
        }
    }
}

AntennaDescription ReadDescription(MaaLines& lines) {
    AntennaDescription result;
    MaaModel& model = result.Model;
    std::string line;
    do {
        line = lines.Next("заголовок");
    } while (line.empty() && !lines.AtEnd());
    if (line != "*") {
        result.AntennaName = line;
        lines.Next("строка \"*\"");
    }
    result.FrequencyText = lines.Next("частота");
    model.Name = result.AntennaName;
    model.FrequencyText = result.FrequencyText;
    model.FrequencyLine = lines.LineNumber();
    model.FrequencyMhz = FileNumber(lines, model.FrequencyText);

    if (!IsWiresHeader(lines.Next("***Wires***"))) {
        lines.Refuse("нет заголовка раздела проводов");
    }
    const std::string countLine = lines.Next("число проводов");
    const int wireCount = CountOf(lines, countLine);
    if (wireCount < 1) {
        lines.Refuse("число проводов меньше 1");
    }
    // A stacked model's count line goes on with the copies across and up, then their spacing.
    if (const std::vector<double> stack = LineNumbers(lines, countLine); stack.size() >= 3) {
        model.StackAcross = static_cast<int>(std::clamp(stack[1], 1.0, 1000.0));
        model.StackUp = static_cast<int>(std::clamp(stack[2], 1.0, 1000.0));
    }
    result.Wires.reserve(static_cast<std::size_t>(wireCount));
    for (int i = 0; i < wireCount; ++i) {
        result.Wires.push_back(ReadWire(lines, model));
    }

    if (!IsSourceHeader(lines.Next("*** Source ***"))) {
        lines.Refuse("нет заголовка раздела источников");
    }
    const int sourceCount = CountOf(lines, lines.Next("число источников"));
    for (int i = 0; i < sourceCount; ++i) {
        result.Sources.push_back(ReadSource(lines, result.Wires, model));
    }

    if (!IsLoadHeader(lines.Next("***   Load   ***"))) {
        lines.Refuse("нет заголовка раздела нагрузок");
    }
    const int loadCount = CountOf(lines, lines.Next("число нагрузок"));
    for (int i = 0; i < loadCount; ++i) {
        const std::vector<std::string> fields = Split(lines.Next("нагрузка"), ",");
        if (fields.empty()) {
            lines.Refuse("пустая строка нагрузки");
        }
        result.Loads.push_back(fields.front());
        MaaLoad& load = model.Loads.emplace_back();
        load.Place = TrimSpaces(fields.front());
        for (std::size_t f = 1; f < fields.size(); ++f) {
            load.Values.push_back(FileNumber(lines, fields[f]));
        }
        load.Line = lines.LineNumber();
    }
    ReadTrailingSections(lines, model);
    return result;
}

} // namespace

std::optional<SourcePlace> ParseSourcePlace(std::string_view place) {
    const std::optional<MaaPlace> at = ParseMaaPlace(place);
    if (!at) {
        return std::nullopt;
    }
    return SourcePlace{at->Wire, at->End};
}

bool ReadMaaText(std::string_view bytes, AntennaDescription& description, std::string* why) {
    MaaLines lines(bytes);
    try {
        description = ReadDescription(lines);
        return true;
    } catch (const MaaRefusal& refused) {
        if (why != nullptr) {
            *why = refused.why;
        }
        return false;
    }
}

bool ReadMaaFile(const std::string& path, AntennaDescription& description, std::string* why) {
    std::string bytes;
    if (!ReadAnyFileBytes(path, bytes)) {
        if (why != nullptr) {
            *why = "файл не читается";
        }
        return false;
    }
    return ReadMaaText(bytes, description, why);
}

bool ReadMaaNecDeck(const std::string& path, const NecDeckChoices& choices, MaaNecDeck& deck,
                    std::string& why) {
    AntennaDescription description;
    return ReadMaaFile(path, description, &why) &&
           WriteMaaNecDeck(description.Model, choices, deck, why);
}

bool ScaleAntenna(AntennaDescription& description) {
    if (description.Wires.empty()) {
        return false;
    }
    float largest = description.Wires.front().End1.x;
    float smallest = largest;
    for (const AntennaWire& wire : description.Wires) {
        for (const Vector3& end : {wire.End1, wire.End2}) {
            for (float coordinate : {end.x, end.y, end.z}) {
                largest = std::max(largest, coordinate);
                smallest = std::min(smallest, coordinate);
            }
        }
    }
    const float extent = largest - smallest;
    if (!(extent > 0.0f)) {
        return false;
    }
    auto scaled = [extent](Vector3 end) {
        return end / extent * 1.5f;
    };
    for (AntennaWire& wire : description.Wires) {
        wire.End1 = scaled(wire.End1);
        wire.End2 = scaled(wire.End2);
    }
    for (FeedSource& source : description.Sources) {
        source.Position = source.Position * (1.5f / extent);
    }
    return true;
}

} // namespace lobex
