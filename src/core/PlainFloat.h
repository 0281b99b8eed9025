#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

// The reading of MMANA's own number form, inline for the far-field reader, which reads millions
// of them: a call per number costs more than the number.
namespace lobex::plain_float {

inline constexpr std::array<double, 8> kInversePowersOfTen = {1e0,  1e-1, 1e-2, 1e-3,
                                                              1e-4, 1e-5, 1e-6, 1e-7};

inline unsigned DigitOf(char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c) - '0');
}

// What ReadPlainFloat does (see TextRules.h): the start of the text past the number, or null
// for any other form. Whole part and fraction are two plain loops, so no flag is carried
// through each digit. Unbounded, the text must hold a line end at or after p: every step stops
// at one, so end need not be looked at.
template <bool kBounded>
inline const char* ReadForm(const char* p, const char* end, float& value) {
    const auto more = [end](const char* at) {
        return !kBounded || at < end;
    };
    const bool negative = more(p) && *p == '-';
    p += negative ? 1 : 0;
    std::uint32_t mantissa = 0;
    const char* const whole = p;
    while (more(p) && DigitOf(*p) < 10) {
        mantissa = mantissa * 10 + DigitOf(*p);
        ++p;
    }
    std::size_t digits = static_cast<std::size_t>(p - whole);
    std::size_t fraction = 0;
    if (more(p) && *p == '.') {
        ++p;
        const char* const part = p;
        while (more(p) && DigitOf(*p) < 10) {
            mantissa = mantissa * 10 + DigitOf(*p);
            ++p;
        }
        fraction = static_cast<std::size_t>(p - part);
        digits += fraction;
    }
    if (digits == 0 || digits > 7 || (more(p) && *p != ',' && *p != '\r' && *p != '\n')) {
        return nullptr;
    }
    // The product ReadShortDecimal forms, so both give the same float.
    const float magnitude =
        static_cast<float>(static_cast<double>(mantissa) * kInversePowersOfTen[fraction]);
    // The sign bit set rather than chosen: signs change from gain to gain, a branch would guess.
    value = std::bit_cast<float>(std::bit_cast<std::uint32_t>(magnitude) |
                                 (static_cast<std::uint32_t>(negative) << 31));
    return p;
}

inline const char* Read(const char* p, const char* end, float& value) {
    return ReadForm<true>(p, end, value);
}

// Read for a number that starts at or before a line end of its text.
inline const char* ReadBeforeLineEnd(const char* p, float& value) {
    return ReadForm<false>(p, nullptr, value);
}

} // namespace lobex::plain_float
