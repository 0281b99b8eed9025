#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lobex::plotter {

// One argument of a bracketed command: a number, a quoted text, or nothing at all (two commas
// in a row, which leaves that setting as it is).
struct CommandArgument {
    enum class Kind { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0.0;
    std::string text; // the text between the quotes, or the number as written

    bool IsNumber() const { return kind == Kind::Number; }
    bool IsText() const { return kind == Kind::Text; }
    bool IsEmpty() const { return kind == Kind::Empty; }
};

struct PlotCommand {
    std::string name; // as written; commands are matched without regard to case
    std::vector<CommandArgument> arguments;
};

struct ParseResult {
    std::vector<PlotCommand> commands;
    std::string error; // empty when the whole string was read
    bool ok() const { return error.empty(); }
};

// Reads a command string: commands "[" Name "(" arguments ")" "]" one after another. Blanks
// between commands and around arguments are tolerated. Numbers are decimal with "." as the
// point and an optional exponent, or hexadecimal with a 0x prefix; a decimal comma cannot be
// told from an argument separator, so "1,8" is two arguments. A quoted text ends at the first
// quote that is followed by "," or ")" (after optional blanks), so a label that itself holds
// a quote still reads whole; text that is not UTF-8 is read as DecodeText reads files (Japanese
// Windows-932, else Windows-1251). Any syntax error refuses the whole string.
ParseResult ParseCommands(std::string_view text);

// Reads one number token by the rules above; nullopt when the token is not a whole number.
std::optional<double> ParseNumber(std::string_view token);

} // namespace lobex::plotter
