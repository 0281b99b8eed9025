#include "TextRules.h"

#include "Cp932Table.h"
#include "Errors.h"
#include "PlainFloat.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <type_traits>

namespace lobex {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Powers of ten that float and double hold exactly.
template <typename T>
constexpr std::array<T, 23> kExactPowersOfTen = {
    T(1e0),  T(1e1),  T(1e2),  T(1e3),  T(1e4),  T(1e5),  T(1e6),  T(1e7),
    T(1e8),  T(1e9),  T(1e10), T(1e11), T(1e12), T(1e13), T(1e14), T(1e15),
    T(1e16), T(1e17), T(1e18), T(1e19), T(1e20), T(1e21), T(1e22)};

using plain_float::kInversePowersOfTen;

// Files are full of short decimals such as "-999.00" or "14.150". When the digits fit the
// type's mantissa and the power of ten is exact, one division rounds correctly, so the
// result is the one fast_float would give; anything else goes to fast_float.
template <typename T>
bool ReadShortDecimal(const char*& p, const char* end, T& value) {
    constexpr std::uint64_t kMaxMantissa = std::is_same_v<T, float> ? (1u << 24) : (1ull << 53);
    constexpr int kMaxExponent = std::is_same_v<T, float> ? 10 : 22;
    std::uint64_t mantissa = 0;
    int fractionDigits = 0;
    bool point = false;
    for (; p < end; ++p) {
        const char c = *p;
        if (IsDigit(c)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (mantissa > kMaxMantissa) {
                return false;
            }
            fractionDigits += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if ((p < end && (*p == 'e' || *p == 'E')) || fractionDigits > kMaxExponent) {
        return false;
    }
    if constexpr (std::is_same_v<T, float>) {
        // A product in double is within 2^-52 of m / 10^k, and for k <= 7 no float midpoint lies
        // that close to such a quotient (it is at least 2^-48 away), so rounding the product to
        // float gives the correctly rounded quotient, without the slow division.
        if (fractionDigits <= 7) {
            value =
                static_cast<float>(static_cast<double>(mantissa) *
                                   kInversePowersOfTen[static_cast<std::size_t>(fractionDigits)]);
            return true;
        }
    }
    value =
        static_cast<T>(mantissa) / kExactPowersOfTen<T>[static_cast<std::size_t>(fractionDigits)];
    return true;
}

// The leading-number rule: blanks, a sign, then digits with an optional point and exponent.
// fast_float reads the digits (it stops where the rule stops, and ignores an exponent without
// digits); the blanks, the sign and the refusal of "inf" and "nan" are ours.
template <typename T>
T ConvertLeading(std::string_view text, std::size_t& stop) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const bool startsNumber =
        i < text.size() &&
        (IsDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && IsDigit(text[i + 1])));
    stop = 0;
    if (!startsNumber) {
        return T(0);
    }
    T value{};
    const char* end = text.data() + i;
    if (!ReadShortDecimal(end, text.data() + text.size(), value)) {
        const auto result =
            fast_float::from_chars(text.data() + i, text.data() + text.size(), value);
        if (result.ec != std::errc()) {
            return T(0);
        }
        if (std::isinf(value)) {
            throw RuntimeError("Overflow");
        }
        end = result.ptr;
    }
    stop = static_cast<std::size_t>(end - text.data());
    return negative ? -value : value;
}

// The shortest decimal digits of a value and where its decimal point goes: value =
// 0.digits x 10^pointPosition.
struct DecimalDigits {
    std::string digits;
    int pointPosition = 0;
    bool negative = false;
};

template <typename T>
DecimalDigits ShortestDigits(T value) {
    DecimalDigits result;
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::scientific);
    (void)ec;
    std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    if (!text.empty() && text.front() == '-') {
        result.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (IsDigit(c)) {
            result.digits.push_back(c);
        }
    }
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);
    result.pointPosition = exponent + 1;
    return result;
}

template <typename T>
std::string NonFiniteText(T value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-Infinity" : "Infinity";
}

template <typename T>
std::string ShortestTextOf(T value) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    if (value == 0) {
        return "0";
    }
    const DecimalDigits d = ShortestDigits(value);
    std::string out = d.negative ? "-" : "";
    const int exponent = d.pointPosition - 1;
    if (exponent < -5 || exponent >= 15) {
        out += d.digits.substr(0, 1);
        if (d.digits.size() > 1) {
            out += '.';
            out += d.digits.substr(1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int absExponent = std::abs(exponent);
        if (absExponent < 10) {
            out += '0';
        }
        out += std::to_string(absExponent);
        return out;
    }
    if (d.pointPosition <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.pointPosition), '0');
        out += d.digits;
        return out;
    }
    const auto point = static_cast<std::size_t>(d.pointPosition);
    if (d.digits.size() <= point) {
        out += d.digits;
        out.append(point - d.digits.size(), '0');
    } else {
        out += d.digits.substr(0, point);
        out += '.';
        out += d.digits.substr(point);
    }
    return out;
}

struct PatternShape {
    int minIntegerDigits = 1;
    int minDecimals = 0;
    int maxDecimals = 0;
};

PatternShape ParsePattern(std::string_view pattern) {
    PatternShape shape;
    const std::size_t point = pattern.find('.');
    const std::string_view integerPart = pattern.substr(0, point);
    shape.minIntegerDigits =
        static_cast<int>(std::count(integerPart.begin(), integerPart.end(), '0'));
    if (point != std::string_view::npos) {
        for (char c : pattern.substr(point + 1)) {
            if (c == '0') {
                ++shape.minDecimals;
                ++shape.maxDecimals;
            } else if (c == '#') {
                ++shape.maxDecimals;
            }
        }
    }
    return shape;
}

template <typename T>
std::string FormatPatternOf(T value, std::string_view pattern, std::string_view decimalSeparator) {
    if (!std::isfinite(value)) {
        return NonFiniteText(value);
    }
    const PatternShape shape = ParsePattern(pattern);
    DecimalDigits d;
    if (value != 0) {
        d = ShortestDigits(value);
    }
    // Lay the digits out as integer digits and exactly maxDecimals + 1 fraction digits.
    std::string integerDigits;
    std::string fraction;
    const int fractionWanted = shape.maxDecimals + 1;
    for (int index = 0; index < d.pointPosition; ++index) {
        integerDigits.push_back(index < static_cast<int>(d.digits.size())
                                    ? d.digits[static_cast<std::size_t>(index)]
                                    : '0');
    }
    for (int k = 0; k < fractionWanted; ++k) {
        const int index = d.pointPosition + k;
        fraction.push_back(index >= 0 && index < static_cast<int>(d.digits.size())
                               ? d.digits[static_cast<std::size_t>(index)]
                               : '0');
    }
    const bool roundUp = fraction.back() >= '5';
    fraction.pop_back();
    std::string all = integerDigits + fraction;
    if (roundUp) {
        int i = static_cast<int>(all.size()) - 1;
        while (i >= 0 && all[static_cast<std::size_t>(i)] == '9') {
            all[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++all[static_cast<std::size_t>(i)];
        } else {
            all.insert(all.begin(), '1');
        }
    }
    const std::size_t fractionSize = static_cast<std::size_t>(shape.maxDecimals);
    std::string intText = all.substr(0, all.size() - fractionSize);
    std::string fracText = all.substr(all.size() - fractionSize);
    while (fracText.size() > static_cast<std::size_t>(shape.minDecimals) &&
           fracText.back() == '0') {
        fracText.pop_back();
    }
    const std::size_t firstNonZero = intText.find_first_not_of('0');
    intText = firstNonZero == std::string::npos ? std::string() : intText.substr(firstNonZero);
    if (intText.size() < static_cast<std::size_t>(shape.minIntegerDigits)) {
        intText.insert(0, static_cast<std::size_t>(shape.minIntegerDigits) - intText.size(), '0');
    }
    const bool allZero = intText.find_first_not_of('0') == std::string::npos &&
                         fracText.find_first_not_of('0') == std::string::npos;
    std::string out = (d.negative && !allZero) ? "-" : "";
    out += intText;
    if (!fracText.empty()) {
        out += decimalSeparator;
        out += fracText;
    }
    return out;
}

constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, 0 when it is not well formed.
std::size_t DecodeUtf8At(std::string_view text, std::size_t i, char32_t& code) {
    const auto byte = [&](std::size_t k) {
        return static_cast<unsigned char>(text[k]);
    };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool IsCp932Lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// What Windows-1251 text never becomes when read as Shift-JIS: kana, CJK punctuation, full-width
// forms and the ohm sign. Half-width katakana are Cyrillic capitals seen that way, and a kanji can
// be a dash before a small letter, so neither tells on its own.
bool IsJapaneseMark(char32_t code) {
    return (code >= 0x3000 && code <= 0x30FF) || (code >= 0xFF01 && code <= 0xFF5E) ||
           code == 0x03A9;
}

// MMANA's Japanese section words that kana do not already give away.
constexpr std::array<std::string_view, 5> kJapaneseSectionWords = {"ﾜｲﾔ", "給電点", "集中定数",
                                                                   "自動分割", "計算環境"};

struct Cp932Reading {
    std::string text;
    bool wellFormed = true;
    bool japanese = false;
};

// Reads bytes as Windows-932. With stopAtFault the reading ends at the first byte that names no
// character, since the text is then no Shift-JIS at all.
Cp932Reading ReadCp932(std::string_view bytes, bool stopAtFault) {
    Cp932Reading reading;
    reading.text.reserve(bytes.size() + bytes.size() / 2);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        char32_t code = 0xFFFD;
        std::size_t length = 1;
        if (byte < 0x80) {
            code = byte;
        } else if (byte >= 0xA1 && byte <= 0xDF) {
            code = 0xFF61 + (byte - 0xA1u); // half-width katakana
        } else if (IsCp932Lead(byte) && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            // A trail out of range is a byte of its own (often a line end), not part of a pair.
            if (trail >= 0x40 && trail <= 0xFC && trail != 0x7F) {
                code = Cp932Pair(byte, trail);
                length = 2;
            }
        }
        // A lead byte cut off by the end of the text is a lost character, not another encoding.
        const bool cutOff = IsCp932Lead(byte) && i + 1 == bytes.size();
        if (code == 0xFFFD && !cutOff) {
            reading.wellFormed = false;
            if (stopAtFault) {
                return reading;
            }
        }
        reading.japanese = reading.japanese || IsJapaneseMark(code);
        AppendUtf8(reading.text, code);
        i += length;
    }
    for (std::string_view word : kJapaneseSectionWords) {
        reading.japanese = reading.japanese || reading.text.find(word) != std::string::npos;
    }
    return reading;
}

// The text in the encoding the bytes are in, and which that is.
std::string Decode(std::string_view bytes, TextEncoding& encoding) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    // A byte order mark promises UTF-8, but an editor may have put it before Windows-1251 text:
    // the bytes after it are checked like any others, so the text returned is always UTF-8.
    if (bytes.substr(0, bom.size()) == bom) {
        bytes.remove_prefix(bom.size());
    }
    if (IsValidUtf8(bytes)) {
        encoding = TextEncoding::Utf8;
        return std::string(bytes);
    }
    Cp932Reading japanese = ReadCp932(bytes, true);
    if (japanese.wellFormed && japanese.japanese) {
        encoding = TextEncoding::Cp932;
        return std::move(japanese.text);
    }
    encoding = TextEncoding::Cp1251;
    return Cp1251ToUtf8(bytes);
}

} // namespace

double LeadingNumber(std::string_view text) {
    std::size_t stop = 0;
    return ConvertLeading<double>(text, stop);
}

double LeadingNumber(std::string_view text, std::size_t& stop) {
    return ConvertLeading<double>(text, stop);
}

float LeadingFloat(std::string_view text) {
    std::size_t stop = 0;
    return ConvertLeading<float>(text, stop);
}

float LeadingFloat(std::string_view text, std::size_t& stop) {
    return ConvertLeading<float>(text, stop);
}

namespace {

std::string ReplaceFirst(std::string_view text, std::string_view what, std::string_view with) {
    const std::size_t at = what.empty() ? std::string_view::npos : text.find(what);
    if (at == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + with.size());
    out.append(text.substr(0, at)).append(with).append(text.substr(at + what.size()));
    return out;
}

} // namespace

bool ReadPlainFloat(const char*& p, const char* end, float& value) {
    const char* const next = plain_float::Read(p, end, value);
    if (next == nullptr) {
        return false;
    }
    p = next;
    return true;
}

std::string ToPointForm(std::string_view text, std::string_view decimalSeparator) {
    if (decimalSeparator == ".") {
        return std::string(text);
    }
    return ReplaceFirst(text, decimalSeparator, ".");
}

std::string ShortestText(float value) {
    return ShortestTextOf(value);
}

std::string ShortestText(double value) {
    return ShortestTextOf(value);
}

std::string LocaleNumberText(float value, std::string_view decimalSeparator) {
    return ReplaceFirst(ShortestText(value), ".", decimalSeparator);
}

std::string PointText(float value, std::string_view decimalSeparator) {
    // The locale's text of the number, turned back into point form.
    return ToPointForm(LocaleNumberText(value, decimalSeparator), decimalSeparator);
}

std::string FormatPattern(float value, std::string_view pattern,
                          std::string_view decimalSeparator) {
    return FormatPatternOf(value, pattern, decimalSeparator);
}

std::string FormatPattern(double value, std::string_view pattern,
                          std::string_view decimalSeparator) {
    return FormatPatternOf(value, pattern, decimalSeparator);
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5) {
        return floor + 1.0;
    }
    if (diff < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::int16_t ToInt16(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max())) {
        throw RuntimeError("Overflow");
    }
    return static_cast<std::int16_t>(rounded);
}

std::int32_t ToInt32(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max())) {
        throw RuntimeError("Overflow");
    }
    return static_cast<std::int32_t>(rounded);
}

std::string TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> Split(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> fields;
    if (text.empty()) {
        return fields;
    }
    if (delimiter.empty()) {
        fields.emplace_back(text);
        return fields;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(delimiter, start);
        if (at == std::string_view::npos) {
            fields.emplace_back(text.substr(start));
            return fields;
        }
        fields.emplace_back(text.substr(start, at - start));
        start = at + delimiter.size();
    }
}

std::string CollapseSpaces(std::string_view text) {
    const std::string trimmed = TrimSpaces(text);
    std::string out;
    out.reserve(trimmed.size());
    for (char c : trimmed) {
        if (c == ' ' && !out.empty() && out.back() == ' ') {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string LowerExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : ToLowerAscii(name.substr(dot + 1));
}

bool ContainsNoCase(std::string_view text, std::string_view needle) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    const auto found = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                                   [&lower](char a, char b) { return lower(a) == lower(b); });
    return found != text.end() || needle.empty();
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8At(bytes, i, code);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(out, byte < 0x80 ? char32_t(byte) : char32_t(kCp1251High[byte - 0x80]));
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t code = 0;
        std::size_t length = DecodeUtf8At(text, i, code);
        if (length == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += length;
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
            continue;
        }
        const auto found = std::find(kCp1251High.begin(), kCp1251High.end(), code);
        out.push_back(found == kCp1251High.end()
                          ? '?'
                          : static_cast<char>(0x80 + (found - kCp1251High.begin())));
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view bytes) {
    return ReadCp932(bytes, false).text;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    TextEncoding encoding = TextEncoding::Utf8;
    (void)Decode(bytes, encoding);
    return encoding;
}

std::string DecodeText(std::string_view bytes) {
    TextEncoding encoding = TextEncoding::Utf8;
    return Decode(bytes, encoding);
}

} // namespace lobex
