#include "Json.h"

#include "core/TextRules.h"

#include <cmath>
#include <cstdio>

namespace lobex::cli {

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
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
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
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
