#include "Material.h"

#include "core/TextRules.h"

#include <algorithm>

namespace lobex {
namespace {

float UnpackByte(std::uint32_t packed, int shift) {
    return static_cast<float>((packed >> shift) & 0xFFU) / 255.0f;
}

std::uint32_t PackChannel(float value, int shift) {
    const double scaled = std::clamp(static_cast<double>(value) * 255.0, 0.0, 255.0);
    const auto byte = static_cast<std::uint32_t>(RoundHalfEven(scaled));
    return byte << shift;
}

} // namespace

ColorValue ColorValueFromPacked(std::uint32_t packed) {
    return {UnpackByte(packed, 16), UnpackByte(packed, 8), UnpackByte(packed, 0),
            UnpackByte(packed, 24)};
}

std::uint32_t PackedFromColorValue(const ColorValue& color) {
    return PackChannel(color.a, 24) | PackChannel(color.r, 16) | PackChannel(color.g, 8) |
           PackChannel(color.b, 0);
}

Material MaterialFromColor(const ColorValue& color) {
    Material material;
    material.Diffuse = color;
    material.Ambient = color;
    return material;
}

bool IsTranslucent(const Material& material) {
    return material.Diffuse.a != 1.0f;
}

} // namespace lobex
