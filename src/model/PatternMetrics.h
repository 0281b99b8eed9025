#pragma once

#include "FarFieldPattern.h"

#include <optional>

// The figures an antenna engineer reads off a far-field pattern beyond its maximum and azimuth
// beam, in total gain. Each is none where the grid cannot give it, and where it would be taken
// against MMANA's -999 dB "no radiation" value (a ratio of a thousand decibels means nothing).
namespace lobex {

// MMANA's gain for a direction without radiation.
inline constexpr float kNoRadiation = -999.0f;

struct PatternMetrics {
    // The maximum minus the gain at its elevation, azimuth + 180.
    std::optional<float> front_to_back;
    // The maximum minus the largest gain at its elevation from azimuth + 90 to + 270 inclusive.
    std::optional<float> front_to_rear;
    // The maximum minus the larger of the gains at azimuth ± 90.
    std::optional<float> front_to_side;
    // The largest local maximum of the azimuth cut outside the main lobe (which runs from the
    // maximum down to the first local minimum on each side), minus the maximum, and its azimuth.
    std::optional<float> side_lobe_level;
    std::optional<float> side_lobe_azimuth;
    // The -3 dB points of the elevation cut through the maximum's azimuth, interpolated in dB;
    // elevations past 90 lie over the zenith, on azimuth + 180.
    std::optional<float> elevation_beam_width;
    std::optional<float> elevation_beam_low;
    std::optional<float> elevation_beam_high;
    // 10·log10 of the linear gain averaged over the sphere by solid angle (trapezoid rule over
    // the grid's own steps), for a grid of zenith 0–90 (over ground, nothing below) or 0–180
    // (free space) and azimuth all round; 0 dB for a lossless antenna.
    std::optional<float> average_gain;
    // The maximum minus the average gain.
    std::optional<float> directivity;
};

// The figures of a pattern, about the maximum its figures hold (MaximumAndBeam of its grid, as
// its reader found them). None at all for a grid that is not regular or has no maximum above the
// horizon.
PatternMetrics MeasurePattern(const FarFieldPattern& pattern);

} // namespace lobex
