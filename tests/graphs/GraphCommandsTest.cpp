#include "graphs/GraphCommands.h"

#include <gtest/gtest.h>

namespace lobex::graphs {
namespace {

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
        EXPECT_EQ(Quoted(c.text), c.quoted) << c.name;
        EXPECT_EQ(QuotesWhole(c.text), c.whole) << c.name;
    }
}

} // namespace
} // namespace lobex::graphs
