#include "scene/Material.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(Material, PackedColoursUnpackByteByByteAndPackBack) {
    const std::pair<std::uint32_t, ColorValue> cases[] = {
        {0xFF4040F0U, {64 / 255.0f, 64 / 255.0f, 240 / 255.0f, 1.0f}}, // the pattern colour
        {0x40C0C0C0U, {192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 64 / 255.0f}}, // the ground
        {0xFF00F000U, {0.0f, 240 / 255.0f, 0.0f, 1.0f}},                        // markers
        {0x00000000U, {0.0f, 0.0f, 0.0f, 0.0f}},
    };
    for (const auto& [packed, expected] : cases) {
        const ColorValue color = ColorValueFromPacked(packed);
        EXPECT_FLOAT_EQ(color.r, expected.r) << std::hex << packed;
        EXPECT_FLOAT_EQ(color.g, expected.g) << std::hex << packed;
        EXPECT_FLOAT_EQ(color.b, expected.b) << std::hex << packed;
        EXPECT_FLOAT_EQ(color.a, expected.a) << std::hex << packed;
        EXPECT_EQ(PackedFromColorValue(color), packed) << std::hex << packed;
    }
    // 0.5 x 255 = 127.5 goes to the even 128; 0.2 x 255 = 51.000001 packs as 33 hex.
    EXPECT_EQ(PackedFromColorValue({0.5f, 0.2f, 0.2f, 1.0f}), 0xFF803333U);
    // Channels outside their range stay in their own byte.
    EXPECT_EQ(PackedFromColorValue({2.0f, -1.0f, 0.0f, 1.0f}), 0xFFFF0000U);
}

} // namespace
} // namespace lobex
