#include "GainColours.h"

#include "core/Services.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace lobex {

namespace {

// A colour stop as 8-bit channels, as colour maps are published.
constexpr GainRgb Byte(int r, int g, int b) {
    return GainRgb{static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
                   static_cast<float>(b) / 255.0f};
}

} // namespace

float ClampGainRange(float rangeDb) {
    if (!std::isfinite(rangeDb)) {
        return kDefaultGainRangeDb;
    }
    return std::clamp(rangeDb, kLeastGainRangeDb, kMostGainRangeDb);
}

const std::array<GainRgb, 9>& GainColourStops() {
    static const std::array<GainRgb, 9> stops{
        Byte(68, 1, 84),    Byte(72, 40, 120),  Byte(62, 73, 137),
        Byte(49, 104, 142), Byte(38, 130, 142), Byte(31, 158, 137),
        Byte(53, 183, 121), Byte(110, 206, 88), Byte(253, 231, 37)};
    return stops;
}

float GainFraction(float gain, float peakGain, float rangeDb) {
    const float range = ClampGainRange(rangeDb);
    if (std::isnan(gain)) {
        return 0.0f;
    }
    return std::clamp((gain - (peakGain - range)) / range, 0.0f, 1.0f);
}

GainRgb GainColour(float fraction, const std::array<GainRgb, 9>& stops) {
    const float place =
        std::clamp(std::isnan(fraction) ? 0.0f : fraction, 0.0f, 1.0f) * (stops.size() - 1);
    const auto low = std::min(static_cast<std::size_t>(place), stops.size() - 2);
    const float t = place - static_cast<float>(low);
    const GainRgb& a = stops[low];
    const GainRgb& b = stops[low + 1];
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

std::vector<float> GainLegendTicks(float peakGain, float rangeDb) {
    const float range = ClampGainRange(rangeDb);
    const float floor = peakGain - range;
    const float step = range <= 20.0f ? 5.0f : 10.0f;
    std::vector<float> ticks{peakGain};
    // Round gains between, not too close to either end to be read apart.
    for (float tick = std::floor(peakGain / step) * step; tick > floor; tick -= step) {
        if (peakGain - tick >= step / 2 && tick - floor >= step / 2) {
            ticks.push_back(tick);
        }
    }
    ticks.push_back(floor);
    return ticks;
}

const std::array<GainRgb, 9>& DifferenceColourStops() {
    static const std::array<GainRgb, 9> stops{
        Byte(100, 0, 40),    Byte(150, 20, 50),   Byte(195, 55, 65),
        Byte(210, 105, 105), Byte(170, 170, 170), Byte(160, 205, 225),
        Byte(170, 220, 240), Byte(195, 235, 245), Byte(235, 250, 252)};
    return stops;
}

float DifferenceSpan(float largestDifference) {
    return std::isfinite(largestDifference)
               ? std::max(std::fabs(largestDifference), kLeastDifferenceSpanDb)
               : kLeastDifferenceSpanDb;
}

float DifferenceFraction(float difference, float span) {
    if (std::isnan(difference)) {
        return 0.5f;
    }
    const float half = DifferenceSpan(span);
    return std::clamp(0.5f + difference / (2.0f * half), 0.0f, 1.0f);
}

std::vector<float> DifferenceLegendTicks(float span) {
    const float half = DifferenceSpan(span);
    return {half, half / 2.0f, 0.0f, -half / 2.0f, -half};
}

namespace {

constexpr std::string_view kSection = "View3D";

} // namespace

GainColourChoice ReadGainColourChoice(SettingsStore& settings) {
    GainColourChoice choice;
    choice.On = settings.GetSetting(kSection, "GainColours", "0") == "1";
    const std::string range = settings.GetSetting(kSection, "GainRange", "40");
    int decibels = 0;
    const auto [end, error] = std::from_chars(range.data(), range.data() + range.size(), decibels);
    if (error == std::errc() && end == range.data() + range.size()) {
        choice.RangeDb = ClampGainRange(static_cast<float>(decibels));
    }
    return choice;
}

void SaveGainColourChoice(SettingsStore& settings, const GainColourChoice& choice) {
    settings.SaveSetting(kSection, "GainColours", choice.On ? "1" : "0");
    settings.SaveSetting(kSection, "GainRange",
                         std::to_string(static_cast<int>(std::lround(choice.RangeDb))));
}

} // namespace lobex
