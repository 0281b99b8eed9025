#include "ShortestDecimal.h"

#include <array>
#include <charconv>
#include <cmath>

namespace lobex {

double ShortestDecimal(float value) {
    if (!std::isfinite(value)) {
        return value;
    }
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    double decimal = value;
    std::from_chars(buffer.data(), written.ptr, decimal);
    return decimal;
}

} // namespace lobex
