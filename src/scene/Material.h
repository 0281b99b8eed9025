#pragma once

#include <cstdint>

namespace lobex {

// A colour as four floats, normally 0..1, stored red, green, blue, alpha.
struct ColorValue {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    friend bool operator==(const ColorValue&, const ColorValue&) = default;
};

// The lighting material of a subset, as Direct3D's fixed-function pipeline describes it.
struct Material {
    ColorValue Diffuse;
    ColorValue Ambient;
    ColorValue Specular;
    ColorValue Emissive;
    float Power = 0.0f;

    friend bool operator==(const Material&, const Material&) = default;
};

// A packed 32-bit colour: alpha in bits 24..31, red 16..23, green 8..15, blue 0..7. Each byte is
// divided by 255; an alpha byte FF gives 1.0 even when the packed value is negative as a signed
// integer.
ColorValue ColorValueFromPacked(std::uint32_t packed);

// The reverse: each channel times 255, rounded to the nearest integer with halves to the even
// neighbour. Channels outside 0..1 are held at the nearest end, so one channel cannot spill into
// its neighbour's byte.
std::uint32_t PackedFromColorValue(const ColorValue& color);

// A material whose diffuse and ambient colours are both the given colour, as the 3D view sets up
// the pattern, ground and marker materials.
Material MaterialFromColor(const ColorValue& color);

// Subsets whose diffuse alpha is not exactly 1 are drawn in the blended pass.
bool IsTranslucent(const Material& material);

} // namespace lobex
