#include "Json.h"

#include "core/TextRules.h"

#include <cmath>
#include <cstdio>

namespace lobex::cli {

namespace {

// The length of the UTF-8 sequence a lead byte opens; 0 for a byte that opens none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xc2 && lead < 0xe0) {
        return 2;
    }
    if (lead >= 0xe0 && lead < 0xf0) {
        return 3;
    }
    return lead >= 0xf0 && lead < 0xf5 ? 4 : 0;
}

void AppendEscape(std::string& out, unsigned byte) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
    out += escaped;
}

} // namespace

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // Text is UTF-8, but file names are what the system gave: a byte that is not part
            // of a UTF-8 sequence is written as the character of its Latin-1 reading.
            const std::size_t length = SequenceLength(byte);
            if (length > 1 && i + length <= text.size() && IsValidUtf8(text.substr(i, length))) {
                out.append(text.substr(i, length));
                i += length;
            } else {
                AppendEscape(out, byte);
                ++i;
            }
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                AppendEscape(out, byte);
            } else {
                out += c;
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

void JsonWriter::NewLine() {
    text_ += '\n';
    text_.append(2 * open_.size(), ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!open_.empty()) {
        if (open_.back().hasValue) {
            text_ += open_.back().inlined ? ", " : ",";
        }
        open_.back().hasValue = true;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    const bool inlined = !open_.empty() && open_.back().inlined;
    BeforeValue();
    text_ += '{';
    open_.push_back({false, false, inlined});
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    const Container closed = open_.back();
    open_.pop_back();
    if (closed.hasValue && !closed.inlined) {
        NewLine();
    }
    text_ += '}';
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    text_ += '[';
    open_.push_back({false, true, true});
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    open_.pop_back();
    text_ += ']';
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    if (!open_.back().inlined) {
        NewLine();
    }
    text_ += JsonQuote(key);
    text_ += ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    text_ += JsonQuote(text);
    return *this;
}

JsonWriter& JsonWriter::Number(long long value) {
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Number(float value) {
    if (!std::isfinite(value)) {
        return Null(); // JSON has no NaN or infinity
    }
    BeforeValue();
    text_ += ShortestText(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
    return *this;
}

JsonWriter& JsonWriter::Strings(const std::vector<std::string>& texts) {
    BeginArray();
    for (const std::string& text : texts) {
        String(text);
    }
    return EndArray();
}

JsonWriter& JsonWriter::Numbers(const std::vector<float>& values) {
    BeginArray();
    for (float value : values) {
        Number(value);
    }
    return EndArray();
}

} // namespace lobex::cli
