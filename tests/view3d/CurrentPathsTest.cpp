#include "view3d/CurrentPaths.h"
#include "view3d/GainColours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace lobex {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

CurrentPoint At(double x, double y, double z, double amperes, double degrees = 0.0) {
    return {x, y, z, std::polar(amperes, degrees * kDegree)};
}

TEST(CurrentPaths, TheUnitAndTheScaleFollowTheLargestCurrent) {
    EXPECT_EQ(ChooseCurrentUnit(0.0204).Text, kMilliampere);
    EXPECT_EQ(ChooseCurrentUnit(1.0).Text, kAmpere);

    struct Case {
        double value;
        bool symmetric;
        float fraction;
    };
    for (const Case& c : {Case{0.02, false, 1.0f}, Case{0.01, false, 0.5f}, Case{0.0, false, 0.0f},
                          Case{-0.02, true, 0.0f}, Case{0.0, true, 0.5f}, Case{0.02, true, 1.0f},
                          // Beyond the largest (rounding in the file) stays at the end.
                          Case{0.03, false, 1.0f}, Case{-0.03, true, 0.0f}}) {
        EXPECT_FLOAT_EQ(CurrentFraction(c.value, 0.02, c.symmetric), c.fraction)
            << c.value << (c.symmetric ? " symmetric" : "");
    }

    // Largest at the top, round steps, the foot of the scale last.
    const CurrentLegend magnitude = CurrentLegendFor(0.0204, false, ",");
    EXPECT_EQ(magnitude.Unit, kMilliampere);
    std::vector<std::string> texts;
    for (const LegendTick& tick : magnitude.Ticks) {
        texts.push_back(tick.Text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"20,4", "15,0", "10,0", "5,0", "0,0"}));
    EXPECT_FLOAT_EQ(magnitude.Ticks[2].Fraction, 10.0f / 20.4f);
    const CurrentLegend signedScale = CurrentLegendFor(2.5, true, ".");
    EXPECT_EQ(signedScale.Unit, kAmpere);
    EXPECT_EQ(signedScale.Ticks.front().Text, "2.5");
    EXPECT_EQ(signedScale.Ticks.back().Text, "-2.5");
    const auto zero = std::find_if(signedScale.Ticks.begin(), signedScale.Ticks.end(),
                                   [](const LegendTick& tick) { return tick.Text == "0.0"; });
    ASSERT_NE(zero, signedScale.Ticks.end());
    EXPECT_FLOAT_EQ(zero->Fraction, 0.5f);
}

TEST(CurrentPaths, TubesRunThroughThePointsPlacedAsTheAntennaIs) {
    // A bent wire and a wire of one point; coordinates span 0..4 m, so 1 m is 1.5 / 4 units.
    const CurrentWires wires{{"1", {At(0, 0, 1, 0.01), At(0, 0, 4, 0.01), At(0, 2, 4, 0.01)}},
                             {"2", {At(4, 0, 0, 0.01)}}};
    const auto paths = CurrentScenePaths(wires);
    ASSERT_EQ(paths.size(), 2u);
    const float unit = 1.5f / 4.0f;
    // The file's (X, Y, Z) is the scene's (Y, Z, X).
    EXPECT_EQ(paths[0][2], (Vector3{2 * unit, 4 * unit, 0.0f}));
    EXPECT_EQ(paths[1][0], (Vector3{0.0f, 0.0f, 4 * unit}));

    const MeshData mesh = CurrentTubeMesh(paths, 0.01f);
    ASSERT_FALSE(mesh.Indices.empty());
    std::vector<int> perPoint(4, 0);
    for (const MeshVertex& vertex : mesh.Vertices) {
        const auto index = static_cast<std::size_t>(vertex.Tv);
        ASSERT_LT(index, 4u);
        ++perPoint[index];
        const Vector3 centre = index < 3 ? paths[0][index] : paths[1][0];
        const Vector3 out = vertex.Position - centre;
        // The wire's rings sit a tube radius round their point, the ball twice that.
        EXPECT_NEAR(Vec3Length(out), index < 3 ? 0.01f : 0.02f, 1e-5f) << index;
        EXPECT_GT(Vec3Dot(out, vertex.Normal), 0.0f);
        if (index == 0) {
            // Square to the wire, which runs up here.
            EXPECT_NEAR(out.y, 0.0f, 1e-6f);
        }
    }
    EXPECT_EQ(perPoint[0], kCurrentTubeSides);
    EXPECT_EQ(perPoint[2], kCurrentTubeSides);
    EXPECT_GT(perPoint[3], 0);
}

TEST(CurrentPaths, ThePhaseShowsTheInstantaneousCurrentOnTheSymmetricScale) {
    const std::complex<double> current = std::polar(2.0, 30.0 * kDegree);
    struct Case {
        double omegaTDegrees;
        double value;
    };
    for (const Case& c :
         {Case{-30.0, 2.0}, Case{0.0, std::sqrt(3.0)}, Case{60.0, 0.0}, Case{150.0, -2.0}}) {
        EXPECT_NEAR(InstantaneousCurrent(current, c.omegaTDegrees * kDegree), c.value, 1e-12)
            << c.omegaTDegrees;
    }
    // Two points in opposite phase: the colours swap ends half a cycle on, and the magnitudes
    // (phase off) both sit at the top.
    const CurrentWires wires{{"1", {At(0, 0, 0, 0.5, 0.0), At(0, 0, 1, 0.5, 180.0)}}};
    const auto top = 0.0f;
    const auto bottom = -kDefaultGainRangeDb;
    EXPECT_EQ(CurrentColourCoordinates(wires, false, 0.0), (std::vector<float>{top, top}));
    const auto atStart = CurrentColourCoordinates(wires, true, 0.0);
    const auto halfCycle = CurrentColourCoordinates(wires, true, std::numbers::pi);
    EXPECT_NEAR(atStart[0], top, 1e-4f);
    EXPECT_NEAR(atStart[1], bottom, 1e-4f);
    EXPECT_NEAR(halfCycle[0], bottom, 1e-4f);
    EXPECT_NEAR(halfCycle[1], top, 1e-4f);
    // A quarter cycle on, both pass through zero, the middle of the scale.
    EXPECT_NEAR(CurrentColourCoordinates(wires, true, std::numbers::pi / 2)[1], bottom / 2, 1e-4f);
}

TEST(CurrentPaths, TheReadoutNamesThePointUnderThePointer) {
    const CurrentWires wires{{"7", {At(0, 0, 0, 0.0204, -11.31), At(0, 0.4, 0, 0.01)}}};
    // Identity transforms: scene x and y are the view's, 200 x 100 pixels.
    const ViewTransform flat{MatrixIdentity(), MatrixIdentity(), MatrixIdentity(), 200, 100};
    const auto paths = CurrentScenePaths(wires); // the second point at scene x 1.5
    EXPECT_FALSE(PickCurrentPoint(paths, flat, 150.0f, 20.0f).has_value());
    const auto pick = PickCurrentPoint(paths, flat, 103.0f, 52.0f);
    ASSERT_TRUE(pick.has_value());
    EXPECT_EQ(pick->Point, 0u);
    EXPECT_EQ(CurrentReadingText(wires, *pick, ChooseCurrentUnit(0.0204), ","),
              "Провод 7, импульс 1: 20,40 мА, фаза -11,31°");
}

} // namespace
} // namespace lobex
