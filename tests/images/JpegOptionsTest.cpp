#include "images/JpegOptions.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

// Storing and showing the fields is tested through the dialog (tests/dialogs); here the rules.
TEST(JpegOptions, QualityIsTheLeadingNumberRoundedHalfToEvenAndHeldIn16Bits) {
    const std::pair<const char*, int> cases[] = {
        {" 85abc", 85}, {"abc", 0},        {"84.5", 84},       {"85.5", 86},
        {"-3", -3},     {"100000", 32767}, {"-1e999", -32768},
    };
    for (const auto& [text, quality] : cases) {
        EXPECT_EQ(JpegQualityFromText(text), quality) << '"' << text << '"';
    }
    // The encoder is given 0 to 100.
    const std::pair<int, int> given[] = {{75, 75}, {100, 100}, {101, 100}, {0, 0}, {-1, 0}};
    for (const auto& [quality, encoder] : given) {
        EXPECT_EQ(EncoderQuality(static_cast<std::int16_t>(quality)), encoder) << quality;
    }
}

TEST(JpegOptions, StoredSwitchesReadAsBooleans) {
    const std::pair<const char*, bool> cases[] = {
        {"TRUE", true}, {"false", false}, {"0", false},  {"-1", true},
        {"0.0", false}, {"yes", false},   {"1x", false},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(SettingIsTrue(text), value) << '"' << text << '"';
    }
}

} // namespace
} // namespace lobex
