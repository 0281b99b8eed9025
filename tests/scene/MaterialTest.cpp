#include "scene/Material.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(Material, PackedColoursUnpackByteByByte) {
    struct Case {
        std::uint32_t packed;
        ColorValue expected;
    };
    const Case cases[] = {
        {0xFF4040F0U, {64 / 255.0f, 64 / 255.0f, 240 / 255.0f, 1.0f}}, // the pattern colour
        {0x40C0C0C0U, {192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 64 / 255.0f}}, // the ground
        {0xFF00F000U, {0.0f, 240 / 255.0f, 0.0f, 1.0f}},                        // markers
        {0x00000000U, {0.0f, 0.0f, 0.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        const ColorValue color = ColorValueFromPacked(c.packed);
        EXPECT_FLOAT_EQ(color.r, c.expected.r) << std::hex << c.packed;
        EXPECT_FLOAT_EQ(color.g, c.expected.g) << std::hex << c.packed;
        EXPECT_FLOAT_EQ(color.b, c.expected.b) << std::hex << c.packed;
        EXPECT_FLOAT_EQ(color.a, c.expected.a) << std::hex << c.packed;
    }
    // A colour written as a negative 32-bit number keeps its full alpha.
    const std::int32_t negative = -1;
    EXPECT_FLOAT_EQ(ColorValueFromPacked(static_cast<std::uint32_t>(negative)).a, 1.0f);
}

TEST(Material, ColoursPackBackToTheSameIntegers) {
    for (std::uint32_t packed : {0xFF4040F0U, 0x40C0C0C0U, 0xFF00F000U, 0xC0FFFFFFU, 0xFF808080U}) {
        EXPECT_EQ(PackedFromColorValue(ColorValueFromPacked(packed)), packed) << std::hex << packed;
    }
    // The grey of the light colour: 0.5 x 255 = 127.5 goes to the even 128.
    EXPECT_EQ(PackedFromColorValue({0.5f, 0.5f, 0.5f, 1.0f}), 0xFF808080U);
    // 0.2 x 255 = 51.000001: the ambient colour packs as 33 hex.
    EXPECT_EQ(PackedFromColorValue({0.2f, 0.2f, 0.2f, 1.0f}), 0xFF333333U);
}

TEST(Material, ChannelsOutsideTheirRangeStayInTheirOwnByte) {
    EXPECT_EQ(PackedFromColorValue({2.0f, -1.0f, 0.0f, 1.0f}), 0xFFFF0000U);
}

TEST(Material, TranslucencyIsAnyDiffuseAlphaOtherThanOne) {
    EXPECT_FALSE(IsTranslucent(MaterialFromColor({1, 0, 0, 1.0f})));
    EXPECT_TRUE(IsTranslucent(MaterialFromColor({1, 0, 0, 0.5f})));
    EXPECT_TRUE(IsTranslucent(MaterialFromColor(ColorValueFromPacked(0x40C0C0C0U))));
    const Material material = MaterialFromColor({0.1f, 0.2f, 0.3f, 1.0f});
    EXPECT_EQ(material.Diffuse, material.Ambient);
}

} // namespace
} // namespace lobex
