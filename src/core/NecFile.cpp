#include "NecFile.h"

#include "FarField.h"
#include "Messages.h"
#include "NearField.h"
#include "SweepFile.h"
#include "WireCurrents.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

namespace lobex {
namespace {

// How far into a file its title may stand: nec2c's box and NEC-2D's stars come first.
constexpr std::size_t kTitleReach = 4096;
constexpr std::string_view kTitle = "NUMERICAL ELECTROMAGNETICS CODE";

enum class Block {
    None,
    Segments,
    Inputs,
    Currents,
    Budget,
    Patterns,
    ElectricField,
    MagneticField,
};

bool IsDigit(char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c) - '0') < 10;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The number fast_float reads at p (sign, digits, point, an exponent with its digits), when its
// digits make an exact mantissa and its power of ten is exact: then one multiplication or
// division gives the correctly rounded double (Clinger's fast path), as fast_float's own steps
// would, at a fraction of their cost; NEC prints nearly every number so. Null for any other
// number, which fast_float reads.
const char* ReadExactDecimal(const char* p, const char* end, double& value) {
    constexpr std::uint64_t kExactMantissa = std::uint64_t{1} << 53;
    const bool negative = p != end && *p == '-';
    p += negative ? 1 : 0;
    std::uint64_t mantissa = 0;
    int digits = 0;
    while (p != end && IsDigit(*p)) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++p;
        ++digits;
    }
    int exponent = 0;
    if (p != end && *p == '.') {
        ++p;
        while (p != end && IsDigit(*p)) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            ++p;
            ++digits;
            --exponent;
        }
    }
    if (digits == 0 || digits > 15) {
        return nullptr;
    }
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        const bool down = q != end && *q == '-';
        q += q != end && (*q == '-' || *q == '+') ? 1 : 0;
        if (q != end && IsDigit(*q)) {
            int power = 0;
            while (q != end && IsDigit(*q)) {
                if (power > 1000) {
                    return nullptr;
                }
                power = power * 10 + (*q - '0');
                ++q;
            }
            exponent += down ? -power : power;
            p = q;
        }
    }
    if (mantissa > kExactMantissa || exponent < -22 || exponent > 22) {
        return nullptr;
    }
    const double exact = static_cast<double>(mantissa);
    const double magnitude =
        exponent < 0 ? exact / kPowersOfTen[-exponent] : exact * kPowersOfTen[exponent];
    value = negative ? -magnitude : magnitude;
    return p;
}

// Reads up to `count` numbers from the start of a line, blanks between them; Fortran may glue a
// negative number to the one before ("1.0000E+00-2.7409E+01"), which needs no blank. How many
// were read.
template <std::size_t N>
std::size_t ReadNumbers(std::string_view line, std::array<double, N>& values,
                        std::size_t count = N) {
    const char* p = line.data();
    const char* const end = p + line.size();
    std::size_t n = 0;
    while (n < count) {
        while (p != end && (*p == ' ' || *p == '\t')) {
            ++p;
        }
        if (p == end) {
            break;
        }
        const char* start = p + (*p == '+' ? 1 : 0);
        if (const char* stop = ReadExactDecimal(start, end, values[n])) {
            p = stop;
            ++n;
            continue;
        }
        const auto [stop, ec] = fast_float::from_chars(start, end, values[n]);
        if (ec != std::errc() || stop == start) {
            break;
        }
        p = stop;
        ++n;
    }
    return n;
}

// nec2c prints a pattern line's first seven numbers in fixed columns ("%8.2f %9.2f ..."): each
// right-aligned in its field, the point at a set place. Such a line is checked and read a field
// of eight characters at a time, the fields apart from each other, where walking it character
// by character costs most of reading the output; a line laid out in any other way (NEC-2D's,
// a number too wide for its field) is read as every other line is. A field is read only when
// it holds blanks, a sign, digits and the point where the column has it, the blanks between
// fields are checked too: then ReadNumbers would read the same numbers, and the same doubles
// come of them.
namespace columns {

constexpr std::uint64_t EveryByte(std::uint8_t byte) {
    return 0x0101010101010101ULL * byte;
}
constexpr std::uint64_t kFlags = EveryByte(0x80);
constexpr std::uint64_t kZeros = EveryByte('0');

std::uint64_t Load(const char* p) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// 0x80 in each byte that is not zero.
std::uint64_t NonZeroBytes(std::uint64_t word) {
    return (((word & ~kFlags) + ~kFlags) | word) & kFlags;
}

constexpr std::uint64_t LowBytes(int count) {
    return count >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * count)) - 1;
}

// The number in the eight characters at p with `Decimals` digits after the point, which stands
// just before them; false when the characters are not blanks, an optional minus, digits and
// that point, in that order. Inlined: called six times a line, the calls would cost as much as
// their work.
template <int Decimals>
[[gnu::always_inline]] inline bool Field(const char* p, double& value) {
    constexpr int kPoint = 7 - Decimals;
    constexpr std::uint64_t kPointByte = std::uint64_t{0xFF} << (8 * kPoint);
    const std::uint64_t word = Load(p);
    const int blanks = std::countr_zero(NonZeroBytes(word ^ EveryByte(' '))) / 8;
    const int sign = ((word >> (8 * blanks)) & 0xFF) == '-' ? 1 : 0;
    const std::uint64_t lead = LowBytes(blanks + sign);
    const std::uint64_t expected = (EveryByte(' ') & LowBytes(blanks)) |
                                   (static_cast<std::uint64_t>(sign * '-') << (8 * blanks)) |
                                   (std::uint64_t{'.'} << (8 * kPoint));
    const std::uint64_t digitPlaces = ~(lead | kPointByte) & kFlags;
    const std::uint64_t low = word & ~kFlags;
    const std::uint64_t digits =
        (low + EveryByte(0x80 - '0')) & ~(low + EveryByte(0x80 - '9' - 1)) & ~word & kFlags;
    // The blanks and sign become leading zeros; the whole part moves a byte on over the point.
    const std::uint64_t zeroed = (word & ~lead) | (kZeros & lead);
    constexpr std::uint64_t kWhole = LowBytes(kPoint + 1);
    std::uint64_t v = ((((zeroed << 8) | '0') & kWhole) | (zeroed & ~kWhole)) - kZeros;
    // Eight digits, the first in the lowest byte, summed in pairs, fours and all eight.
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
        32;
    const double magnitude =
        static_cast<double>(static_cast<std::uint32_t>(v)) / kPowersOfTen[Decimals];
    value = sign != 0 ? -magnitude : magnitude;
    return (word & (lead | kPointByte)) == expected && (digits & digitPlaces) == digitPlaces;
}

bool Blanks(const char* p, std::size_t count) {
    return std::all_of(p, p + count, [](char c) { return c == ' '; });
}

// Theta, phi and the three gains of a pattern line in nec2c's columns; false for any other line.
bool PatternLine(std::string_view line, std::array<double, 5>& values) {
    if constexpr (std::endian::native != std::endian::little) {
        return false;
    }
    constexpr std::size_t kWidth = 68;
    if (line.size() < kWidth) {
        return false;
    }
    const char* p = line.data();
    double ratio = 0.0;
    double tilt = 0.0;
    return Field<2>(p, values[0]) && Blanks(p + 8, 2) && Field<2>(p + 10, values[1]) &&
           Blanks(p + 18, 2) && Field<2>(p + 20, values[2]) && Blanks(p + 28, 1) &&
           Field<2>(p + 29, values[3]) && Blanks(p + 37, 1) && Field<2>(p + 38, values[4]) &&
           Blanks(p + 46, 4) && Field<4>(p + 50, ratio) && Blanks(p + 58, 2) &&
           Field<2>(p + 60, tilt) && (line.size() == kWidth || line[kWidth] == ' ');
}

} // namespace columns

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The place of the first character not blank, the line's size when there is none. A plain walk:
// find_first_not_of looks each character up in its set with a library call, and every line of
// the output is trimmed so.
std::size_t FirstNotBlank(std::string_view line) {
    std::size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) {
        ++at;
    }
    return at;
}

// The title of a banner line ("---- POWER BUDGET ----", "- - - POWER BUDGET - - -"): the text
// between its dashes; empty for any other line, column group headers with dashes inside them
// included.
std::string_view BannerTitle(std::string_view line) {
    const std::size_t first = FirstNotBlank(line);
    if (first == line.size() || line[first] != '-') {
        return {};
    }
    const std::size_t last = line.find_last_not_of(" \t");
    if (line[last] != '-') {
        return {};
    }
    const std::size_t textStart = line.find_first_not_of("- \t", first);
    if (textStart == std::string_view::npos) {
        return {};
    }
    const std::size_t textEnd = line.find_last_not_of("- \t", last) + 1;
    const std::string_view title = line.substr(textStart, textEnd - textStart);
    return title.find('-') == std::string_view::npos ? title : std::string_view{};
}

Block BlockOf(std::string_view title) {
    struct Named {
        std::string_view title;
        Block block;
    };
    static constexpr Named kBlocks[] = {
        {"SEGMENTATION DATA", Block::Segments},
        {"ANTENNA INPUT PARAMETERS", Block::Inputs},
        {"CURRENTS AND LOCATION", Block::Currents},
        {"POWER BUDGET", Block::Budget},
        {"RADIATION PATTERNS", Block::Patterns},
        {"NEAR ELECTRIC FIELDS", Block::ElectricField},
        {"NEAR MAGNETIC FIELDS", Block::MagneticField},
    };
    for (const Named& named : kBlocks) {
        if (title == named.title) {
            return named.block;
        }
    }
    return Block::None;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string_view TrimmedStart(std::string_view line) {
    return line.substr(FirstNotBlank(line));
}

// "NAME : 1.4E+01 MHz" or "NAME=  1.4E+01 MHZ": the number after the name and its sign.
bool ValueAfter(std::string_view line, std::string_view name, double& value) {
    std::string_view rest = TrimmedStart(line);
    // The first letter first: nearly every line is asked for two names it does not start with.
    if (rest.empty() || rest[0] != name[0] || rest.substr(0, name.size()) != name) {
        return false;
    }
    rest = TrimmedStart(rest.substr(name.size()));
    if (rest.empty() || (rest[0] != ':' && rest[0] != '=')) {
        return false;
    }
    std::array<double, 1> number{};
    if (ReadNumbers(rest.substr(1), number) != 1) {
        return false;
    }
    value = number[0];
    return true;
}

class NecReader {
public:
    explicit NecReader(NecOutput& output) : output_(output) {}

    void Line(std::string_view line) {
        // Trimmed once for the banner and the two names every line is asked for.
        const std::string_view trimmed = TrimmedStart(line);
        // Nearly every line of a pattern block is in nec2c's columns: one that does not start
        // with a minus is neither a banner nor a named value, and is read at once.
        if (block_ == Block::Patterns && !trimmed.empty() && trimmed[0] != '-' &&
            ColumnsPattern(line)) {
            return;
        }
        if (const std::string_view title = BannerTitle(trimmed); !title.empty()) {
            block_ = BlockOf(title);
            if (block_ == Block::Patterns) {
                Current().majorMinor = false;
            }
            if (block_ == Block::ElectricField || block_ == Block::MagneticField) {
                Current().nearFields.push_back(NecNearField{block_ == Block::ElectricField, {}});
            }
            // NEC-2D spaces its banners' dashes; nec2c draws them solid.
            output_.fortran = output_.fortran || Contains(line, "- - -");
            return;
        }
        double value = 0.0;
        if (ValueAfter(trimmed, "FREQUENCY", value)) {
            FinishPattern();
            output_.frequencies.push_back(NecFrequency{});
            output_.frequencies.back().mhz = value;
            block_ = Block::None;
            return;
        }
        if (ValueAfter(trimmed, "WAVELENGTH", value) && !output_.frequencies.empty()) {
            output_.frequencies.back().wavelength = value;
            return;
        }
        switch (block_) {
        case Block::Segments:
            Segment(line);
            break;
        case Block::Inputs:
            Input(line);
            break;
        case Block::Currents:
            CurrentLine(line);
            break;
        case Block::Budget:
            Budget(line);
            break;
        case Block::Patterns:
            Pattern(line);
            break;
        case Block::ElectricField:
        case Block::MagneticField:
            Field(line);
            break;
        case Block::None:
            break;
        }
    }

    void Finish() { FinishPattern(); }

private:
    // The frequency the blocks belong to; blocks before any frequency line (an output cut short
    // at its head) start one of frequency 0.
    NecFrequency& Current() {
        if (output_.frequencies.empty()) {
            output_.frequencies.push_back(NecFrequency{});
        }
        return output_.frequencies.back();
    }

    // Number, centre, length, orientation, radius, the connections (I-, I, I+) and the tag.
    void Segment(std::string_view line) {
        std::array<double, 12> v{};
        if (ReadNumbers(line, v) == v.size()) {
            output_.segments.push_back(NecSegment{static_cast<int>(v[0]), static_cast<int>(v[11]),
                                                  v[1], v[2], v[3], v[4], v[5], v[6], v[7]});
        }
    }

    void Input(std::string_view line) {
        std::array<double, 11> v{};
        if (ReadNumbers(line, v) == v.size()) {
            Current().sources.push_back(NecSource{static_cast<int>(v[0]),
                                                  static_cast<int>(v[1]),
                                                  {v[2], v[3]},
                                                  {v[4], v[5]},
                                                  {v[6], v[7]},
                                                  v[10]});
        }
    }

    void CurrentLine(std::string_view line) {
        if (Contains(line, "DISTANCES IN")) {
            Current().currentsInWavelengths = Contains(line, "WAVELENGTH");
            return;
        }
        std::array<double, 10> v{};
        if (ReadNumbers(line, v) == v.size()) {
            Current().currents.push_back(
                NecCurrent{static_cast<int>(v[0]), static_cast<int>(v[1]), v[2], v[3], v[4], v[5],
                           static_cast<float>(v[6]), static_cast<float>(v[7]),
                           static_cast<float>(v[8]), static_cast<float>(v[9])});
        }
    }

    void Budget(std::string_view line) {
        struct Entry {
            std::string_view name;
            double NecPowerBudget::*field;
        };
        static constexpr Entry kEntries[] = {
            {"INPUT POWER", &NecPowerBudget::input},
            {"RADIATED POWER", &NecPowerBudget::radiated},
            {"STRUCTURE LOSS", &NecPowerBudget::structureLoss},
            {"NETWORK LOSS", &NecPowerBudget::networkLoss},
            {"EFFICIENCY", &NecPowerBudget::efficiency},
        };
        for (const Entry& entry : kEntries) {
            double value = 0.0;
            if (ValueAfter(line, entry.name, value)) {
                NecFrequency& frequency = Current();
                if (!frequency.budget) {
                    frequency.budget = NecPowerBudget{};
                }
                (*frequency.budget).*entry.field = value;
                return;
            }
        }
    }

    bool ColumnsPattern(std::string_view line) {
        std::array<double, 5> v{};
        if (!columns::PatternLine(line, v)) {
            return false;
        }
        lines_.push_back(NecPatternLine{static_cast<float>(v[0]), static_cast<float>(v[1]),
                                        static_cast<float>(v[2]), static_cast<float>(v[3]),
                                        static_cast<float>(v[4])});
        return true;
    }

    void Pattern(std::string_view line) {
        if (ColumnsPattern(line)) {
            return;
        }
        std::array<double, 7> v{};
        if (ReadNumbers(line, v) == v.size()) {
            lines_.push_back(NecPatternLine{static_cast<float>(v[0]), static_cast<float>(v[1]),
                                            static_cast<float>(v[2]), static_cast<float>(v[3]),
                                            static_cast<float>(v[4])});
        } else if (Contains(line, "MAJOR") && Contains(line, "MINOR")) {
            Current().majorMinor = true;
        }
    }

    void Field(std::string_view line) {
        std::array<double, 9> v{};
        if (ReadNumbers(line, v) == v.size()) {
            NecFieldPoint point{v[0], v[1], v[2], {}, {}};
            for (std::size_t c = 0; c < 3; ++c) {
                point.magnitude[c] = static_cast<float>(v[3 + 2 * c]);
                point.phase[c] = static_cast<float>(v[4 + 2 * c]);
            }
            Current().nearFields.back().points.push_back(point);
        }
    }

    // A frequency's pattern lines, all its pattern blocks together, become its grid once the
    // next frequency (or the end) comes.
    void FinishPattern() {
        if (!lines_.empty()) {
            Current().pattern = PatternFromNec(lines_);
            lines_.clear();
        }
    }

    NecOutput& output_;
    Block block_ = Block::None;
    std::vector<NecPatternLine> lines_;
};

} // namespace

bool IsNecOutput(std::string_view text) {
    return Contains(text.substr(0, kTitleReach), kTitle);
}

Parsed<NecOutput> ParseNecOutput(std::string_view text) {
    Parsed<NecOutput> parsed;
    try {
        NecOutput output;
        NecReader reader(output);
        std::size_t at = 0;
        while (at < text.size()) {
            const char* start = text.data() + at;
            const void* found = std::memchr(start, '\n', text.size() - at);
            const std::size_t length =
                found == nullptr
                    ? text.size() - at
                    : static_cast<std::size_t>(static_cast<const char*>(found) - start);
            std::string_view line(start, length);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            reader.Line(line);
            at += length + 1;
        }
        reader.Finish();
        if (output.frequencies.empty()) {
            parsed.Tell(kWrongFormatMessage, MessageIcon::Information);
            return parsed;
        }
        parsed.result = std::move(output);
    } catch (const std::bad_alloc&) {
        parsed.Tell(kReadErrorMessage, MessageIcon::Critical);
    }
    return parsed;
}

bool NecHasPart(const NecOutput& output, int index, NecPart part) {
    if (index < 0 || index >= static_cast<int>(output.frequencies.size())) {
        return false;
    }
    const NecFrequency& frequency = output.frequencies[static_cast<std::size_t>(index)];
    switch (part) {
    case NecPart::Pattern:
        return frequency.pattern.has_value();
    case NecPart::Sweep:
        return std::ranges::any_of(output.frequencies,
                                   [](const NecFrequency& f) { return !f.sources.empty(); });
    case NecPart::Currents:
        return !frequency.currents.empty();
    case NecPart::NearField:
        return !frequency.nearFields.empty() && !frequency.nearFields.front().points.empty();
    }
    return false;
}

std::optional<NecPart> ShownNecPart(const NecOutput& output, int index, NecPart asked) {
    if (NecHasPart(output, index, asked)) {
        return asked;
    }
    for (const NecPart fallback : kNecParts) {
        if (NecHasPart(output, index, fallback)) {
            return fallback;
        }
    }
    return std::nullopt;
}

std::shared_ptr<const Result> ShownResultOf(const std::shared_ptr<const Result>& document,
                                            double necMhz, NecPart part) {
    const auto* nec = document != nullptr ? std::get_if<NecOutput>(document.get()) : nullptr;
    if (nec == nullptr) {
        return document;
    }
    const int index = ShownNecFrequency(*nec, necMhz);
    const std::optional<NecPart> shown = ShownNecPart(*nec, index, part);
    if (shown == NecPart::Pattern) {
        return std::make_shared<const Result>(
            *nec->frequencies[static_cast<std::size_t>(index)].pattern);
    }
    if (shown == NecPart::Sweep) {
        return std::make_shared<const Result>(NecSweep(*nec, kNecSweepImpedance));
    }
    return document;
}

LoadResult DeriveLoad(const NecOutput& output, const LoadRequest& request) {
    const int index = ShownNecFrequency(output, request.necFrequency);
    const std::optional<NecPart> part = ShownNecPart(output, index, request.necPart);
    if (!part) {
        LoadResult refused;
        refused.Tell(kWrongFormatMessage, MessageIcon::Information);
        return refused;
    }
    const NecFrequency& frequency = output.frequencies[static_cast<std::size_t>(index)];
    switch (*part) {
    case NecPart::Pattern: {
        // Made once: the data on show shares its grid, and compared results are drawn against it.
        auto shown = std::make_shared<const Result>(*frequency.pattern);
        LoadResult result = DeriveSharedLoad(shown, std::get<FarFieldPattern>(*shown), request);
        result.shown = std::move(shown);
        return result;
    }
    case NecPart::Sweep: {
        auto shown = std::make_shared<const Result>(NecSweep(output, kNecSweepImpedance));
        LoadResult result = DeriveLoad(std::get<Sweep>(*shown), request);
        result.shown = std::move(shown);
        return result;
    }
    case NecPart::Currents:
        return DeriveLoad(NecWireCurrents(frequency), request);
    case NecPart::NearField:
        return DeriveLoad(NecNearFieldLines(frequency.nearFields.front()), request);
    }
    return {};
}

LoadResult ReadNecOutput(std::string_view text, const LoadRequest& request) {
    return LoadParsed(KindFarField, ParseNecOutput(text), request);
}

} // namespace lobex
