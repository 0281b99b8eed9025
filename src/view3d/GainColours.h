#pragma once

#include <array>
#include <vector>

namespace lobex {

class SettingsStore;

struct GainRgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// How far below the peak the colour scale reaches, in dB: the default and the choosable span.
inline constexpr float kDefaultGainRangeDb = 40.0f;
inline constexpr float kLeastGainRangeDb = 10.0f;
inline constexpr float kMostGainRangeDb = 60.0f;

// Keeps a chosen range within the choosable span; anything not a number gives the default.
float ClampGainRange(float rangeDb);

// The colour map's stops, evenly spaced from the floor (first) to the peak (last): viridis,
// which stays readable in grey and to colour-blind eyes.
const std::array<GainRgb, 9>& GainColourStops();

// 0 at the floor (peak - rangeDb) and below, 1 at the peak; a gain that is not a number counts
// as below the floor, as the -999 sentinels do.
float GainFraction(float gain, float peakGain, float rangeDb);

// The colour of a fraction of the scale, linear between the stops.
GainRgb GainColour(float fraction, const std::array<GainRgb, 9>& stops = GainColourStops());

// The gains a legend labels, from the peak down to the floor: the peak, then every multiple of
// the tick step below it (10 dB, or 5 dB for ranges up to 20 dB), then the floor.
std::vector<float> GainLegendTicks(float peakGain, float rangeDb);

// The stops of the difference map B − A, evenly spaced from "worse" (first) through zero to
// "better" (last). Lightness rises all the way, dark red through a neutral grey to a pale blue,
// so that a greyscale print still tells worse from better; red against blue also stays apart
// to colour-blind eyes.
const std::array<GainRgb, 9>& DifferenceColourStops();

// The half-span of the symmetric difference scale for the largest |B − A|: that difference, and
// at least a decibel, so that two equal patterns show the zero colour rather than noise.
inline constexpr float kLeastDifferenceSpanDb = 1.0f;
float DifferenceSpan(float largestDifference);

// 0 at -span and below, 0.5 at zero, 1 at +span and above; a difference that is not a number
// counts as zero.
float DifferenceFraction(float difference, float span);

// The differences a legend labels, from +span down to -span: the ends, their halves and zero.
std::vector<float> DifferenceLegendTicks(float span);

// The colours' choice as the settings keep it between runs: off and 40 dB unless stored.
struct GainColourChoice {
    bool On = false;
    float RangeDb = kDefaultGainRangeDb;
};
GainColourChoice ReadGainColourChoice(SettingsStore& settings);
void SaveGainColourChoice(SettingsStore& settings, const GainColourChoice& choice);

} // namespace lobex
