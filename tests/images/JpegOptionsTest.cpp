#include "images/JpegOptions.h"
#include "Recorders.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::MemorySettings;

TEST(JpegOptions, FirstUseGives490By290Quality75AndBothSwitchesOff) {
    MemorySettings settings;
    const JpegSettingsText fields = ReadJpegSettings(settings);
    EXPECT_EQ(fields.Width, "490");
    EXPECT_EQ(fields.Height, "290");
    EXPECT_EQ(fields.Quality, "75");
    EXPECT_FALSE(fields.Progressive);
    EXPECT_FALSE(fields.Grayscale);
}

TEST(JpegOptions, StoredFieldsComeBackAsTheyWereWithTrueAndFalseForTheSwitches) {
    MemorySettings settings;
    const JpegOptions options =
        StoreJpegSettings(settings, {" 640 ", "480", "  85  ", true, false});
    EXPECT_EQ(settings.values.at("JPEG/Width"), "640");
    EXPECT_EQ(settings.values.at("JPEG/Height"), "480");
    EXPECT_EQ(settings.values.at("JPEG/Quality"), "85");
    EXPECT_EQ(settings.values.at("JPEG/Progressive"), "True");
    EXPECT_EQ(settings.values.at("JPEG/Grayscale"), "False");
    EXPECT_EQ(options.Quality, 85);
    EXPECT_TRUE(options.Progressive);
    EXPECT_FALSE(options.Grayscale);

    const JpegSettingsText back = ReadJpegSettings(settings);
    EXPECT_EQ(back.Width, "640");
    EXPECT_EQ(back.Height, "480");
    EXPECT_EQ(back.Quality, "85");
    EXPECT_TRUE(back.Progressive);
    EXPECT_FALSE(back.Grayscale);

    StoreJpegSettings(settings, {"1", "2", "3", false, true});
    EXPECT_EQ(settings.values.at("JPEG/Progressive"), "False");
    EXPECT_EQ(settings.values.at("JPEG/Grayscale"), "True");
    EXPECT_TRUE(ReadJpegSettings(settings).Grayscale);
}

TEST(JpegOptions, TextsAreStoredAsTypedApartFromOuterSpaces) {
    MemorySettings settings;
    const JpegOptions options = StoreJpegSettings(settings, {"wide", "", "85abc", false, false});
    EXPECT_EQ(settings.values.at("JPEG/Width"), "wide");
    EXPECT_EQ(settings.values.at("JPEG/Height"), "");
    EXPECT_EQ(settings.values.at("JPEG/Quality"), "85abc");
    EXPECT_EQ(options.Quality, 85);
}

TEST(JpegOptions, QualityIsTheLeadingNumberRoundedHalfToEvenAndHeldIn16Bits) {
    const std::pair<const char*, int> cases[] = {
        {"85", 85},        {" 85 ", 85},        {"85abc", 85},    {"abc", 0},
        {"", 0},           {"84.5", 84},        {"85.5", 86},     {"-3", -3},
        {"100000", 32767}, {"-100000", -32768}, {"1e999", 32767}, {"-1e999", -32768},
        {"\t42", 42},      {"32767.4", 32767},
    };
    for (const auto& [text, quality] : cases) {
        EXPECT_EQ(JpegQualityFromText(text), quality) << '"' << text << '"';
    }
}

TEST(JpegOptions, TheEncoderIsGivenAQualityBetween0And100) {
    const std::pair<int, int> cases[] = {{75, 75},     {0, 0},  {100, 100}, {101, 100},
                                         {32767, 100}, {-1, 0}, {-32768, 0}};
    for (const auto& [quality, given] : cases) {
        EXPECT_EQ(EncoderQuality(static_cast<std::int16_t>(quality)), given) << quality;
    }
}

TEST(JpegOptions, StoredSwitchesReadAsBooleans) {
    const std::pair<const char*, bool> cases[] = {
        {"True", true}, {"true", true}, {"TRUE", true}, {"False", false}, {"false", false},
        {"0", false},   {"1", true},    {"-1", true},   {"0.0", false},   {" 1 ", true},
        {"yes", false}, {"", false},    {"1x", false},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(SettingIsTrue(text), value) << '"' << text << '"';
    }
}

} // namespace
} // namespace lobex
