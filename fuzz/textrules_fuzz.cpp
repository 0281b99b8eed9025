#include "FuzzInput.h"
#include "core/Errors.h"
#include "core/TextRules.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr std::string_view kPatterns[] = {"#0.00###", "#0.0#",     "#0.00",
                                          "0.0#",     "#0.000000", "#0.0"};

// The number rules on the input's first line: read, formatted every way the program formats,
// and the shortest text read back to the very same value.
void Numbers(std::string_view line, std::string_view separator) {
    float value = 0.0f;
    try {
        // Beyond the range of the type read, both rules raise an overflow, as the program's do.
        (void)lobex::LeadingNumber(line);
        std::size_t stop = 0;
        value = lobex::LeadingFloat(line, stop);
        if (stop > line.size()) {
            std::abort();
        }
    } catch (const lobex::RuntimeError&) {
        return;
    }
    for (const std::string_view pattern : kPatterns) {
        (void)lobex::FormatPattern(value, pattern, separator);
        (void)lobex::FormatPattern(static_cast<double>(value), pattern, separator);
    }
    (void)lobex::LocaleNumberText(value, separator);
    (void)lobex::PointText(value, separator);
    (void)lobex::ToPointForm(line, separator);
    if (std::isfinite(value)) {
        const std::string shortest = lobex::ShortestText(value);
        if (lobex::LeadingFloat(shortest) != value) {
            std::abort();
        }
    }
    try {
        (void)lobex::ToInt16(value);
        (void)lobex::ToInt32(value);
    } catch (const lobex::RuntimeError&) {
    }
    (void)lobex::RoundHalfEven(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = lobex::fuzz::Bytes(data, size);
    const std::string text = lobex::DecodeText(bytes);
    if (!lobex::IsValidUtf8(text)) {
        std::abort(); // whatever the bytes, the program works on UTF-8
    }
    const std::vector<std::string> lines = lobex::SplitLines(text);
    const std::string_view separator = size % 2 == 0 ? "." : ",";
    for (std::size_t i = 0; i < lines.size() && i < 8; ++i) {
        Numbers(lines[i], separator);
        (void)lobex::Split(lines[i], ",");
        (void)lobex::TrimSpaces(lines[i]);
        (void)lobex::CollapseSpaces(lines[i]);
        (void)lobex::ContainsNoCase(lines[i], "val");
    }
    (void)lobex::Utf8ToCp1251(text);
    (void)lobex::Cp1251ToUtf8(bytes);
    if (!lobex::IsValidUtf8(lobex::Cp932ToUtf8(bytes))) {
        std::abort(); // every byte Shift-JIS cannot read becomes a replacement character
    }
    return 0;
}
