#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lobex::cli {

// A JSON text built value by value; objects and arrays nest. Floats are written with the
// shortest digits that read back to the same 32-bit value.
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(long long value);
    JsonWriter& Number(float value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    JsonWriter& Strings(const std::vector<std::string>& texts);
    JsonWriter& Numbers(const std::vector<float>& values);

    const std::string& Text() const { return text_; }

private:
    void BeforeValue();
    void NewLine();

    std::string text_;
    struct Container {
        bool hasValue = false;
        bool isArray = false;
        // Arrays and the objects inside arrays stay on one line.
        bool inlined = false;
    };
    std::vector<Container> open_;
    bool afterKey_ = false;
};

// A string as a JSON string literal. Bytes that are not UTF-8 (file names are what the system
// gave) are written as \u00XX, the character of their Latin-1 reading.
std::string JsonQuote(std::string_view text);

} // namespace lobex::cli
