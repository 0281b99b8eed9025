#include "plotter/CommandParser.h"

#include <gtest/gtest.h>

namespace lobex::plotter {
namespace {

using Kind = CommandArgument::Kind;

TEST(CommandParser, ReadsCommandsOneAfterAnother) {
    const ParseResult result = ParseCommands("[FontPoints(1,8)][GridLineType(1,1)][AutoSize()]");
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.commands.size(), 3U);
    EXPECT_EQ(result.commands[0].name, "FontPoints");
    ASSERT_EQ(result.commands[0].arguments.size(), 2U);
    EXPECT_EQ(result.commands[0].arguments[0].number, 1.0);
    EXPECT_EQ(result.commands[0].arguments[1].number, 8.0);
    EXPECT_EQ(result.commands[2].name, "AutoSize");
    EXPECT_TRUE(result.commands[2].arguments.empty());
}

TEST(CommandParser, ReadsTextArgumentsBetweenQuotes) {
    const ParseResult result = ParseCommands(
        R"([TextFont(2,10,500,0,0,0,0,"MS Sans Serif")][Title1("Частотные характеристики")])");
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.commands.size(), 2U);
    const auto& font = result.commands[0].arguments;
    ASSERT_EQ(font.size(), 8U);
    EXPECT_EQ(font[7].kind, Kind::Text);
    EXPECT_EQ(font[7].text, "MS Sans Serif");
    EXPECT_EQ(result.commands[1].arguments[0].text, "Частотные характеристики");
}

TEST(CommandParser, EmptyTextIsTwoQuotes) {
    const ParseResult result = ParseCommands(R"([XAxisLabel("")][Title1(" ")])");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.commands[0].arguments[0].kind, Kind::Text);
    EXPECT_EQ(result.commands[0].arguments[0].text, "");
    EXPECT_EQ(result.commands[1].arguments[0].text, " ");
}

TEST(CommandParser, TextMayHoldQuotesBracketsAndCommas) {
    // Labels come from data files; the text ends only at a quote followed by "," or ")".
    const ParseResult result = ParseCommands(
        R"cmd([Y2AxisLabel("R "a" [Ом], (x)")][FileSaveAs(4097,"C:\tmp\a,b.emf")])cmd");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.commands[0].arguments[0].text, R"cmd(R "a" [Ом], (x))cmd");
    EXPECT_EQ(result.commands[1].arguments[1].text, R"(C:\tmp\a,b.emf)");
}

TEST(CommandParser, ScaleLimitsNeedTheDecimalPoint) {
    // PointText writes 1.8 whatever the locale; 1,8 would be read as two limits.
    const ParseResult point = ParseCommands("[ManualScale(1.8,-0.25,14.35,1e-05)]");
    ASSERT_TRUE(point.ok()) << point.error;
    const auto& limits = point.commands[0].arguments;
    ASSERT_EQ(limits.size(), 4U);
    EXPECT_DOUBLE_EQ(limits[0].number, 1.8);
    EXPECT_DOUBLE_EQ(limits[1].number, -0.25);
    EXPECT_DOUBLE_EQ(limits[2].number, 14.35);
    EXPECT_DOUBLE_EQ(limits[3].number, 1e-05);

    const ParseResult comma = ParseCommands("[ManualScale(1,8,0,14,35,2)]");
    ASSERT_TRUE(comma.ok());
    EXPECT_EQ(comma.commands[0].arguments.size(), 6U);
}

TEST(CommandParser, TextInTheWindowsCodePageIsUnderstood) {
    const ParseResult result = ParseCommands("[Title1(\"\xD3\xE3\xEE\xEB\")]"); // "Угол"
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.commands[0].arguments[0].text, "Угол");
}

TEST(CommandParser, OmittedArgumentsAreEmpty) {
    const ParseResult result = ParseCommands("[ManualScale(,0,,1)]");
    ASSERT_TRUE(result.ok()) << result.error;
    const auto& arguments = result.commands[0].arguments;
    ASSERT_EQ(arguments.size(), 4U);
    EXPECT_TRUE(arguments[0].IsEmpty());
    EXPECT_TRUE(arguments[1].IsNumber());
    EXPECT_TRUE(arguments[2].IsEmpty());
}

TEST(CommandParser, BlanksAroundCommandsAndArgumentsAreTolerated) {
    const ParseResult result = ParseCommands(" [ Color ( 2 , 0 , 0 , 255 ) ]\r\n[FileClose()] ");
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.commands.size(), 2U);
    EXPECT_EQ(result.commands[0].name, "Color");
    EXPECT_EQ(result.commands[0].arguments[3].number, 255.0);
}

TEST(CommandParser, EmptyStringHoldsNoCommands) {
    const ParseResult result = ParseCommands("");
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.commands.empty());
}

TEST(CommandParser, RefusesBrokenStringsWhole) {
    const std::vector<std::string> broken = {
        "FontPoints(1,8)",            // no brackets
        "[FontPoints(1,8)",           // no closing bracket
        "[FontPoints(1,8]",           // no closing parenthesis
        "[FontPoints 1,8)]",          // no opening parenthesis
        "[(1,8)]",                    // no name
        R"([Title1("unterminated)])", // text without its closing quote
        "[ManualScale(1.8.1,0,1,1)]", // not a number
        "[ManualScale(abc,0,1,1)]",   // not a number
        "[ManualScale(inf,0,1,1)]",   // not a finite number
        "[ManualScale(nan,0,1,1)]",   // not a number at all
        "[AutoSize()]x",              // text after the last command
        "[AutoSize()][",              // a command cut short
    };
    for (const std::string& text : broken) {
        const ParseResult result = ParseCommands(text);
        EXPECT_FALSE(result.ok()) << text;
        EXPECT_TRUE(result.commands.empty()) << text;
    }
}

TEST(CommandParser, NumberForms) {
    struct Case {
        const char* token;
        std::optional<double> value;
    };
    const std::vector<Case> cases = {
        {"0", 0.0},
        {"-2", -2.0},
        {"+3", 3.0},
        {"264", 264.0},
        {"3.3", 3.3},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e-05", 1e-05},
        {"-1.5E+20", -1.5e20},
        {"0x0099FF", 39423.0},
        {"0x", std::nullopt},
        {"1e", std::nullopt},
        {"e5", std::nullopt},
        {"1,8", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1e999", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> value = ParseNumber(c.token);
        ASSERT_EQ(value.has_value(), c.value.has_value()) << c.token;
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.value) << c.token;
        }
    }
}

} // namespace
} // namespace lobex::plotter
