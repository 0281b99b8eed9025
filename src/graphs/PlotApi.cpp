#include "PlotApi.h"

#include "core/TextRules.h"

#include <algorithm>
#include <cstring>

namespace lobex {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

// Bytes of the UTF-8 sequence a lead byte starts; 1 for anything that cannot start one.
std::size_t SequenceLength(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0xC2U && byte <= 0xDFU) {
        return 2;
    }
    if (byte >= 0xE0U && byte <= 0xEFU) {
        return 3;
    }
    if (byte >= 0xF0U && byte <= 0xF4U) {
        return 4;
    }
    return 1;
}

// The longest prefix of at most `limit` bytes that does not end inside a UTF-8 sequence.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text.size();
    }
    std::size_t length = limit;
    while (length > 0 && IsContinuationByte(text[length])) {
        --length;
    }
    return length;
}

} // namespace

void SetTextField(char* field, std::size_t size, std::string_view text, char pad) {
    const std::size_t length = Utf8PrefixLength(text, size);
    std::memcpy(field, text.data(), length);
    std::fill(field + length, field + size, pad);
}

std::string ReadTextField(const char* field, std::size_t size) {
    std::string_view text(field, size);
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    // A UTF-8 sequence cut by the end of the field would make the whole text read as
    // Windows-1251: drop an incomplete tail when everything before it is valid UTF-8.
    std::size_t lead = text.size();
    while (lead > 0 && text.size() - lead < 3 && IsContinuationByte(text[lead - 1])) {
        --lead;
    }
    std::size_t end = text.size();
    if (lead > 0) {
        const std::size_t tail = text.size() - (lead - 1);
        const std::size_t needed = SequenceLength(text[lead - 1]);
        if (needed > tail && IsValidUtf8(text.substr(0, lead - 1))) {
            end = lead - 1;
        }
    }
    return DecodeText(text.substr(0, end));
}

} // namespace lobex
