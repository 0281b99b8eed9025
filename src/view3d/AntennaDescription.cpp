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
    std::size_t LineNumber() const { return next_; }

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

AntennaWire ReadWire(MaaLines& lines) {
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
    return wire;
}

FeedSource ReadSource(MaaLines& lines, const std::vector<AntennaWire>& wires) {
    const std::string line = lines.Next("источник");
    const std::vector<std::string> fields = Split(line, ",");
    if (fields.size() < 3) {
        lines.Refuse("в строке источника меньше 3 полей");
    }
    FeedSource source;
    source.Place = fields[0];
    source.Value1 = NumberOf(lines, fields[1]);
    source.Value2 = NumberOf(lines, fields[2]);
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

AntennaDescription ReadDescription(MaaLines& lines) {
    AntennaDescription result;
    std::string line;
    do {
        line = lines.Next("заголовок");
    } while (line.empty() && !lines.AtEnd());
    if (line != "*") {
        result.AntennaName = line;
        lines.Next("строка \"*\"");
    }
    result.FrequencyText = lines.Next("частота");

    if (!IsWiresHeader(lines.Next("***Wires***"))) {
        lines.Refuse("нет заголовка раздела проводов");
    }
    const int wireCount = CountOf(lines, lines.Next("число проводов"));
    if (wireCount < 1) {
        lines.Refuse("число проводов меньше 1");
    }
    result.Wires.reserve(static_cast<std::size_t>(wireCount));
    for (int i = 0; i < wireCount; ++i) {
        result.Wires.push_back(ReadWire(lines));
    }

    if (!IsSourceHeader(lines.Next("*** Source ***"))) {
        lines.Refuse("нет заголовка раздела источников");
    }
    const int sourceCount = CountOf(lines, lines.Next("число источников"));
    for (int i = 0; i < sourceCount; ++i) {
        result.Sources.push_back(ReadSource(lines, result.Wires));
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
    }
    return result;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<SourcePlace> ParseSourcePlace(std::string_view place) {
    if (place.empty() || (place.front() != 'w' && place.front() != 'W')) {
        return std::nullopt;
    }
    std::size_t at = 1;
    int wire = 0;
    while (at < place.size() && IsDigit(place[at])) {
        // Larger numbers name no wire of any file that can be read; keep them out of range.
        wire = std::min(wire * 10 + (place[at] - '0'), 100000);
        ++at;
    }
    if (at == 1 || at >= place.size()) {
        return std::nullopt;
    }
    char letter = 0;
    switch (place[at]) {
    case 'b':
    case 'B':
        letter = 'B';
        break;
    case 'c':
    case 'C':
        letter = 'C';
        break;
    case 'e':
    case 'E':
        letter = 'E';
        break;
    default:
        return std::nullopt;
    }
    ++at;
    if (at < place.size() && (place[at] == '+' || place[at] == '-')) {
        ++at;
        if (at == place.size()) {
            return std::nullopt;
        }
    }
    for (; at < place.size(); ++at) {
        if (!IsDigit(place[at])) {
            return std::nullopt;
        }
    }
    return SourcePlace{wire, letter};
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
