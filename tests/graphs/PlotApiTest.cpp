#include "graphs/PlotApi.h"

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

} // namespace
} // namespace lobex
