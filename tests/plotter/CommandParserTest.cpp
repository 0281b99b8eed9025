#include "plotter/CommandParser.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lobex::plotter {
namespace {

// The commands as read: Name(args) each, numbers as numbers, texts in <>, omitted ones as _.
std::string Describe(const ParseResult& result) {
    std::ostringstream out;
    for (const PlotCommand& command : result.commands) {
        out << command.name << '(';
        for (std::size_t i = 0; i < command.arguments.size(); ++i) {
            const CommandArgument& argument = command.arguments[i];
            out << (i > 0 ? "," : "");
            if (argument.IsText()) {
                out << '<' << argument.text << '>';
            } else if (argument.IsNumber()) {
                out << argument.number;
            } else {
                out << '_';
            }
        }
        out << ')';
    }
    return out.str();
}

TEST(CommandParser, ReadsCommandsTextsAndNumbers) {
    const std::pair<const char*, const char*> cases[] = {
        {"[FontPoints(1,8)][GridLineType(1,1)][AutoSize()]",
         "FontPoints(1,8)GridLineType(1,1)AutoSize()"},
        {R"([TextFont(2,10,500,0,0,0,0,"MS Sans Serif")][Title1("Частотные характеристики")])",
         "TextFont(2,10,500,0,0,0,0,<MS Sans Serif>)Title1(<Частотные характеристики>)"},
        {R"([XAxisLabel("")][Title1(" ")])", "XAxisLabel(<>)Title1(< >)"},
        // Labels come from data files: a text ends only at a quote followed by "," or ")".
        {R"cmd([Y2AxisLabel("R "a" [Ом], (x)")][FileSaveAs(4097,"C:\tmp\a,b.emf")])cmd",
         R"cmd(Y2AxisLabel(<R "a" [Ом], (x)>)FileSaveAs(4097,<C:\tmp\a,b.emf>))cmd"},
        // Scale limits need the decimal point: "1,8" is two limits.
        {"[ManualScale(1.8,-0.25,14.35,1e-05)]", "ManualScale(1.8,-0.25,14.35,1e-05)"},
        {"[Title1(\"\xD3\xE3\xEE\xEB\")]", "Title1(<Угол>)"}, // Windows-1251
        {"[ManualScale(,0,,1)]", "ManualScale(_,0,_,1)"},
        {" [ Color ( 2 , 0 , 0 , 255 ) ]\r\n[FileClose()] ", "Color(2,0,0,255)FileClose()"},
    };
    for (const auto& [text, expected] : cases) {
        const ParseResult result = ParseCommands(text);
        EXPECT_TRUE(result.ok()) << text << ": " << result.error;
        EXPECT_EQ(Describe(result), expected) << text;
    }
}

TEST(CommandParser, RefusesBrokenStringsWhole) {
    for (const char* text :
         {"FontPoints(1,8)", "[FontPoints(1,8)", "[FontPoints 1,8)]", "[(1,8)]",
          R"([Title1("unterminated)])", "[ManualScale(1.8.1,0,1,1)]", "[ManualScale(abc,0,1,1)]",
          "[ManualScale(inf,0,1,1)]", "[AutoSize()]x", "[AutoSize()]["}) {
        const ParseResult result = ParseCommands(text);
        EXPECT_FALSE(result.ok()) << text;
        EXPECT_TRUE(result.commands.empty()) << text;
    }
}

TEST(CommandParser, NumberFormsBeyondTheCommandsAbove) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {".5", 0.5}, {"-1.5E+20", -1.5e20}, {"0x0099FF", 39423.0}, {"0x", {}},
        {"1e", {}},  {"1e999", {}},
    };
    for (const auto& [token, value] : cases) {
        EXPECT_EQ(ParseNumber(token), value) << token;
    }
}

} // namespace
} // namespace lobex::plotter
