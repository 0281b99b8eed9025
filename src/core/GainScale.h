#pragma once

#include <algorithm>
#include <cmath>
#include <concepts>

namespace lobex {

// The distance from the centre at which the polar diagrams and the 3D surface draw a gain: its
// height above the floor as a share of the span from the floor to the top, to the fourth power,
// so that the lobes stand out. 0 at or below the floor (and for no span), 1 at the top.
template <std::floating_point T>
constexpr T GainToRadius(T gain, T floor, T span) {
    if (!(span > T(0))) {
        return T(0);
    }
    const T ratio = (std::max(gain, floor) - floor) / span;
    const T square = ratio * ratio;
    return square * square;
}

// The gain drawn at a distance radius from the centre: the inverse of GainToRadius above the
// floor, the floor at the centre.
template <std::floating_point T>
T RadiusToGain(T radius, T floor, T span) {
    return floor + span * std::sqrt(std::sqrt(std::max(radius, T(0))));
}

} // namespace lobex
