#include "graphs/PlotApi.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lobex {
namespace {

TEST(PlotRecordFields, TextIsPaddedWithBlanksAndReadBackTrimmed) {
    DPLOT plot;
    SetTextField(plot.YAxis, "SWR(50.0Om)");
    EXPECT_EQ(std::string(plot.YAxis.data(), 11), "SWR(50.0Om)");
    EXPECT_EQ(plot.YAxis[11], ' ');
    EXPECT_EQ(plot.YAxis.back(), ' ');
    EXPECT_EQ(ReadTextField(plot.YAxis), "SWR(50.0Om)");
}

TEST(PlotRecordFields, ZeroCharacterEndsTheText) {
    DPLOT plot;
    SetTextField(plot.XAxis, std::string_view("Parameter\0", 10));
    EXPECT_EQ(plot.XAxis[9], '\0');
    EXPECT_EQ(ReadTextField(plot.XAxis), "Parameter");
}

TEST(PlotRecordFields, LongTextIsCutBetweenCharactersNotInsideOne) {
    // 79 ASCII letters then a two-byte Cyrillic letter: only its first byte would fit.
    const std::string text = std::string(79, 'a') + "Ж";
    std::array<char, 80> field{};
    SetTextField(field, text);
    EXPECT_EQ(field[78], 'a');
    EXPECT_EQ(field[79], ' ');
    EXPECT_EQ(ReadTextField(field), std::string(79, 'a'));
}

TEST(PlotRecordFields, AFieldCutInsideACharacterStillReadsAsUtf8) {
    // As an older writer would leave it: the last letter's first byte only.
    std::array<char, 8> field{};
    const std::string text = "Угол"; // 8 bytes
    std::memcpy(field.data(), text.data(), 7);
    field[7] = '\0';
    EXPECT_EQ(ReadTextField(field), "Уго");
}

TEST(PlotRecordFields, Windows1251TextIsDecoded) {
    std::array<char, 8> field{};
    const char cp1251[] = "\xD3\xE3\xEE\xEB"; // "Угол"
    std::memcpy(field.data(), cp1251, 4);
    EXPECT_EQ(ReadTextField(field), "Угол");
}

TEST(PlotRecordFields, NewRecordIsAllZero) {
    const DPLOT plot;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&plot);
    for (std::size_t i = 0; i < sizeof plot; ++i) {
        ASSERT_EQ(bytes[i], 0U) << "byte " << i;
    }
    const PlotMetrics metrics;
    EXPECT_EQ(metrics.Size, 36);
}

TEST(PlotBitmapBuffer, PixelAtReadsRowsTopToBottom) {
    PlotBitmap bitmap;
    bitmap.PixelWidth = 3;
    bitmap.PixelHeight = 2;
    bitmap.Pixels = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(bitmap);
    EXPECT_EQ(bitmap.PixelAt(0, 1), 4U);
    EXPECT_EQ(bitmap.PixelAt(2, 0), 3U);
    EXPECT_FALSE(PlotBitmap{});
}

} // namespace
} // namespace lobex
