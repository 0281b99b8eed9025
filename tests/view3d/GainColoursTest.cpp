#include "view3d/GainColours.h"
#include "PatternGrids.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace lobex {
namespace {

// Every step up the map is lighter under the given weights of red, green and blue.
void ExpectLighterUpwards(const std::array<GainRgb, 9>& stops, std::array<float, 3> weight) {
    float last = -1.0f;
    for (int step = 0; step <= 100; ++step) {
        const GainRgb c = GainColour(static_cast<float>(step) / 100.0f, stops);
        const float now = weight[0] * c.r + weight[1] * c.g + weight[2] * c.b;
        EXPECT_GT(now, last) << step;
        last = now;
    }
}

TEST(GainColours, TheScaleRunsFromTheFloorToThePeakAndClampsOutside) {
    struct Case {
        float gain;
        float peak;
        float range;
        float fraction;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Case& c : {Case{10.0f, 10.0f, 40.0f, 1.0f}, Case{-30.0f, 10.0f, 40.0f, 0.0f},
                          Case{-10.0f, 10.0f, 40.0f, 0.5f}, Case{15.0f, 10.0f, 40.0f, 1.0f},
                          // The -999 sentinels and anything not a number sit at the floor.
                          Case{-999.0f, 10.0f, 40.0f, 0.0f}, Case{nan, 10.0f, 40.0f, 0.0f},
                          // Ranges outside 10..60 dB are taken as their nearest end.
                          Case{5.0f, 10.0f, 2.0f, 0.5f}, Case{-50.0f, 10.0f, 90.0f, 0.0f},
                          Case{-20.0f, 10.0f, 90.0f, 0.5f}, Case{-10.0f, 10.0f, nan, 0.5f}}) {
        EXPECT_FLOAT_EQ(GainFraction(c.gain, c.peak, c.range), c.fraction)
            << c.gain << " of " << c.peak << " over " << c.range;
    }
}

TEST(GainColours, TheMapGoesFromDarkVioletThroughTealToYellowAndGetsLighter) {
    const GainRgb floor = GainColour(0.0f);
    const GainRgb peak = GainColour(1.0f);
    EXPECT_GT(floor.b, floor.g);
    EXPECT_GT(peak.r, 0.9f);
    // Lighter all the way up, so that a grey print still orders the gains.
    ExpectLighterUpwards(GainColourStops(), {0.2126f, 0.7152f, 0.0722f});
    // Outside the scale are its ends.
    EXPECT_FLOAT_EQ(GainColour(-3.0f).r, floor.r);
    EXPECT_FLOAT_EQ(GainColour(7.0f).g, peak.g);
}

TEST(GainColours, TheDifferenceMapIsSymmetricNeutralAtZeroAndDarkestWhereWorse) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float difference;
        float span;
        float fraction;
    };
    for (const Case& c : {Case{0.0f, 3.0f, 0.5f}, Case{3.0f, 3.0f, 1.0f}, Case{-3.0f, 3.0f, 0.0f},
                          Case{-1.5f, 3.0f, 0.25f}, Case{9.0f, 3.0f, 1.0f}, Case{nan, 3.0f, 0.5f},
                          // Equal patterns (span 0) still get a decibel either side.
                          Case{0.5f, 0.0f, 0.75f}}) {
        EXPECT_FLOAT_EQ(DifferenceFraction(c.difference, c.span), c.fraction)
            << c.difference << " of " << c.span;
    }
    const auto& stops = DifferenceColourStops();
    const GainRgb worse = GainColour(0.0f, stops);
    const GainRgb zero = GainColour(0.5f, stops);
    const GainRgb better = GainColour(1.0f, stops);
    EXPECT_GT(worse.r, 2.0f * worse.b);
    EXPECT_GT(better.b, better.r);
    EXPECT_FLOAT_EQ(zero.r, zero.g); // a grey: neither better nor worse
    EXPECT_FLOAT_EQ(zero.g, zero.b);
    // Lighter from worse to better, as a greyscale print (Rec. 601 luma) shows it.
    ExpectLighterUpwards(stops, {0.299f, 0.587f, 0.114f});
    EXPECT_EQ(DifferenceLegendTicks(2.0f), (std::vector<float>{2.0f, 1.0f, 0.0f, -1.0f, -2.0f}));
}

TEST(GainColours, TheLegendLabelsThePeakRoundStepsAndTheFloor) {
    struct Case {
        float peak;
        float range;
        std::vector<float> ticks;
    };
    for (const Case& c : {Case{9.22f, 40.0f, {9.22f, 0.0f, -10.0f, -20.0f, -30.78f}},
                          // Round gains too near an end to be read apart are left out.
                          Case{10.0f, 40.0f, {10.0f, 0.0f, -10.0f, -20.0f, -30.0f}},
                          Case{2.0f, 10.0f, {2.0f, -5.0f, -8.0f}},
                          Case{-3.0f, 20.0f, {-3.0f, -10.0f, -15.0f, -20.0f, -23.0f}}}) {
        const std::vector<float> ticks = GainLegendTicks(c.peak, c.range);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << c.peak << " over " << c.range;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i], c.ticks[i], 1e-4f) << c.peak << " over " << c.range;
        }
    }
}

TEST(GainColours, TheSurfaceGivesBackTheGainItWasDrawnFrom) {
    const PatternMesh mesh = test::BuiltMesh(test::LobedGrid(10.0f));
    const FarFieldGrid grid = test::LobedGrid(10.0f);
    EXPECT_NEAR(mesh.PeakGain, -6.0f, 0.01f); // 8 sin 90 cos 0 + 2 cos 180 - 12
    for (std::size_t i = 0; i < mesh.PointCount; ++i) {
        for (std::size_t j = 0; j < mesh.ColumnCount; ++j) {
            const float gain = grid[j].Points[i].Total;
            const Vector3 vertex = mesh.PatternVertices[i * mesh.ColumnCount + j];
            EXPECT_NEAR(PatternGainAt(mesh, Vec3Length(vertex)), std::max(gain, -60.0f), 1e-3f)
                << "zenith " << grid[j].Points[i].Zenith << " azimuth " << grid[j].Azimuth;
        }
    }
    EXPECT_FLOAT_EQ(PatternGainAt(mesh, 0.0f), -60.0f);
    EXPECT_FLOAT_EQ(PatternGainAt(PatternMesh{}, 1.0f), -60.0f);
}

} // namespace
} // namespace lobex
