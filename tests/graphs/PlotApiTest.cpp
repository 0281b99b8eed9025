#include "graphs/PlotApi.h"
#include "graphs/GraphCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace lobex {
namespace {

TEST(PlotRecordFields, TextIsCutBetweenCharactersAndPaddedWithBlanks) {
    DPLOT plot;
    SetTextField(plot.YAxis, "SWR(50.0Om)");
    EXPECT_EQ(std::string(plot.YAxis.data(), 12), "SWR(50.0Om) ");
    EXPECT_EQ(plot.YAxis.back(), ' ');
    EXPECT_EQ(ReadTextField(plot.YAxis), "SWR(50.0Om)");
    // 79 ASCII letters then a two-byte Cyrillic letter: only its first byte would fit.
    SetTextField(plot.YAxis, std::string(79, 'a') + "Ж");
    EXPECT_EQ(plot.YAxis[79], ' ');
    EXPECT_EQ(ReadTextField(plot.YAxis), std::string(79, 'a'));
}

TEST(PlotRecordFields, ReadingStopsAtAZeroAndDecodesUtf8OrWindows1251) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("Parameter\0 x", 12), "Parameter"},
        // As an older writer would leave it: the last letter's first byte only.
        {std::string("Угол", 7), "Уго"},
        {"\xD3\xE3\xEE\xEB", "Угол"},
    };
    for (const auto& [bytes, text] : cases) {
        std::array<char, 12> field{};
        std::memcpy(field.data(), bytes.data(), bytes.size());
        EXPECT_EQ(ReadTextField(field), text);
    }
}

// A quote the engine would take as the end of the text becomes U+201D ("\u201D"); every other
// character stays as it is.
TEST(GraphCommands, ATextArgumentCannotEndEarlyOrStartAnotherCommand) {
    struct Case {
        const char* name;
        const char* text;
        const char* quoted;
        bool whole;
    };
    const Case cases[] = {
        {"plain", "Частота, МГц", "\"Частота, МГц\"", true},
        {"empty", "", "\"\"", true},
        {"quotes inside a word", R"(R "a" [Ом])", R"("R "a" [Ом]")", true},
        {"brackets and parentheses", "a)][b(c)", "\"a)][b(c)\"", true},
        {"a quote last", "inch\"", "\"inch\"\"", true},
        {"a quote before a comma", "a\",b", "\"a\u201D,b\"", false},
        {"a quote before a parenthesis", "Gain (\"dBi\")", "\"Gain (\"dBi\u201D)\"", false},
        {"blanks between", "a\" \t\r\n)", "\"a\u201D \t\r\n)\"", false},
        {"a second command", "a.emf\")][FileSaveAs(4097,\"injected.emf",
         "\"a.emf\u201D)][FileSaveAs(4097,\"injected.emf\"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(graphs::Quoted(c.text), c.quoted) << c.name;
        EXPECT_EQ(graphs::QuotesWhole(c.text), c.whole) << c.name;
    }
}

} // namespace
} // namespace lobex
