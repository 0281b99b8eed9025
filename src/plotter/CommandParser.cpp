#include "CommandParser.h"

#include "Message.h"
#include "core/TextRules.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace lobex::plotter {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    ParseResult Run() {
        ParseResult result;
        SkipBlanks();
        while (pos_ < text_.size()) {
            PlotCommand command;
            if (!ReadCommand(command)) {
                result.commands.clear();
                result.error = error_;
                return result;
            }
            result.commands.push_back(std::move(command));
            SkipBlanks();
        }
        return result;
    }

private:
    bool Fail(std::string message) {
        error_ = Message({message, " at position ", std::to_string(pos_ + 1)});
        return false;
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            ++pos_;
        }
    }

    bool Expect(char c) {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != c) {
            std::string message = "expected '";
            message += c;
            message += '\'';
            return Fail(std::move(message));
        }
        ++pos_;
        return true;
    }

    bool ReadCommand(PlotCommand& command) {
        if (!Expect('[')) {
            return false;
        }
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) {
            ++pos_;
        }
        if (pos_ == start) {
            return Fail("expected a command name");
        }
        command.name = std::string(text_.substr(start, pos_ - start));
        if (!Expect('(')) {
            return false;
        }
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ')') {
            ++pos_;
        } else {
            for (;;) {
                CommandArgument argument;
                if (!ReadArgument(argument)) {
                    return false;
                }
                command.arguments.push_back(std::move(argument));
                SkipBlanks();
                if (pos_ < text_.size() && text_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                if (pos_ < text_.size() && text_[pos_] == ')') {
                    ++pos_;
                    break;
                }
                return Fail("expected ',' or ')'");
            }
        }
        return Expect(']');
    }

    // After a closing quote candidate at `quote`: does "," or ")" follow, blanks allowed?
    bool EndsText(std::size_t quote) const {
        std::size_t i = quote + 1;
        while (i < text_.size() && IsBlank(text_[i])) {
            ++i;
        }
        return i < text_.size() && (text_[i] == ',' || text_[i] == ')');
    }

    bool ReadArgument(CommandArgument& argument) {
        SkipBlanks();
        if (pos_ >= text_.size()) {
            return Fail("unexpected end of the command string");
        }
        if (text_[pos_] == '"') {
            const std::size_t start = pos_ + 1;
            std::size_t quote = text_.find('"', start);
            while (quote != std::string_view::npos && !EndsText(quote)) {
                quote = text_.find('"', quote + 1);
            }
            if (quote == std::string_view::npos) {
                return Fail("unterminated text");
            }
            argument.kind = CommandArgument::Kind::Text;
            // Text is UTF-8; a caller that still converts to the 8-bit Windows code page is
            // understood too.
            argument.text = DecodeText(text_.substr(start, quote - start));
            pos_ = quote + 1;
            return true;
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != ')' &&
               text_[pos_] != ']' && text_[pos_] != '[') {
            ++pos_;
        }
        std::string_view token = text_.substr(start, pos_ - start);
        while (!token.empty() && IsBlank(token.back())) {
            token.remove_suffix(1);
        }
        if (token.empty()) {
            argument.kind = CommandArgument::Kind::Empty;
            return true;
        }
        const std::optional<double> number = ParseNumber(token);
        if (!number) {
            pos_ = start;
            std::string message(token);
            message.append(" is not a number");
            return Fail(std::move(message));
        }
        argument.kind = CommandArgument::Kind::Number;
        argument.number = *number;
        argument.text = std::string(token);
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

} // namespace

std::optional<double> ParseNumber(std::string_view token) {
    if (token.empty()) {
        return std::nullopt;
    }
    bool negative = false;
    std::string_view body = token;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
        std::uint64_t value = 0;
        const char* first = body.data() + 2;
        const char* last = body.data() + body.size();
        const auto [end, error] = std::from_chars(first, last, value, 16);
        if (error != std::errc() || end != last || value > 0xFFFFFFFFULL) {
            return std::nullopt;
        }
        const double number = static_cast<double>(value);
        return negative ? -number : number;
    }
    // Only the plain forms: digits, one point, digits, an optional exponent. std::from_chars
    // would also take "inf" and "nan", which are not numbers a command can use.
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i])) != 0) {
        ++i;
        ++digits;
    }
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i])) != 0) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < body.size() && std::isdigit(static_cast<unsigned char>(body[i])) != 0) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != body.size()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (error != std::errc() || end != body.data() + body.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

ParseResult ParseCommands(std::string_view text) {
    return Reader(text).Run();
}

} // namespace lobex::plotter
