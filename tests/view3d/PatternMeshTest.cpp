#include "view3d/PatternMesh.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "view3d/CurrentPaths.h"
#include "view3d/GainColours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>
#include <tuple>

namespace lobex {
namespace {

using test::ExpectNear;
using test::MakeGrid;

TEST(PatternMesh, GainsAtOrBelowTheFloorCollapseToTheCentreAndTheLargestCoordinateSetsTheScale) {
    const PatternMesh mesh =
        test::BuiltMesh(MakeGrid(90.0f, 90.0f, [](float zenith, float azimuth) {
            return zenith != 90.0f     ? 0.0f
                   : azimuth == 90.0f  ? -75.0f
                   : azimuth == 180.0f ? -60.0f
                                       : 0.0f;
        }));
    // Point 1 (zenith 90) of columns 1 and 2.
    ExpectNear(mesh.PatternVertices[1 * 5 + 1], {0, 0, 0}, 0.0f);
    ExpectNear(mesh.PatternVertices[1 * 5 + 2], {0, 0, 0}, 0.0f);
    EXPECT_NEAR(Vec3Length(mesh.PatternVertices[1 * 5 + 3]), 1.0f, 1e-6f);
    // The strongest direction is straight down; the division uses the largest positive
    // coordinate of the weak rest, not the length of the lobe.
    const PatternMesh downward = test::BuiltMesh(MakeGrid(
        90.0f, 90.0f, [](float zenith, float) { return zenith == 180.0f ? 10.0f : -40.0f; }));
    float largest = -1.0f;
    for (const Vector3& v : downward.PatternVertices) {
        largest = std::max({largest, v.x, v.y, v.z});
    }
    EXPECT_EQ(largest, 1.0f);
    // The downward lobe: radius 1 divided by the weak radius (20/70)^4.
    EXPECT_NEAR(downward.PatternVertices[2 * 5].z, -std::pow(70.0f / 20.0f, 4.0f), 1e-2f);
}

TEST(PatternMesh, GridsTheSurfaceCannotBeBuiltFromAreRefusedAndTheOldSurfaceKept) {
    const auto flat = [](float, float) {
        return 0.0f;
    };
    FarFieldGrid ragged = MakeGrid(45.0f, 90.0f, flat);
    ragged[2].Points.pop_back();
    FarFieldGrid horizonOnly = MakeGrid(180.0f, 90.0f, flat);
    for (AzimuthColumn& column : horizonOnly) {
        column.Points.resize(1);
    }
    const std::tuple<const char*, FarFieldGrid, const char*> cases[] = {
        {"a column with a point missing", ragged, "разное число точек"},
        {"gain never above -60 dBi", MakeGrid(45.0f, 90.0f, [](float, float) { return -60.0f; }),
         "не превышает -60 dBi"},
        {"no coordinate above zero",
         MakeGrid(90.0f, 90.0f,
                  [](float zenith, float azimuth) {
                      return zenith == 90.0f && azimuth == 180.0f ? 3.0f : -80.0f;
                  }),
         "положительных координат"},
        {"the empty grid left by a failed load", FarFieldGrid(1), "недостаточно данных"},
        {"a single zenith angle", horizonOnly, "недостаточно данных"},
    };
    PatternMesh mesh = test::BuiltMesh(test::FortyBelowTenAbove());
    const std::vector<Vector3> before = mesh.PatternVertices;
    for (const auto& [what, grid, reason] : cases) {
        std::string refusal;
        EXPECT_FALSE(BuildPatternVertices(grid, kPiValue, mesh, refusal)) << what;
        EXPECT_NE(refusal.find(reason), std::string::npos) << what << ": " << refusal;
        EXPECT_NE(refusal.find("Трехмерная модель не построена."), std::string::npos) << what;
        EXPECT_EQ(mesh.PatternVertices, before) << what;
    }
}

TEST(PatternMesh, AFineGridIsDrawnAtHalfADegreeKeepingEveryPeakAndTheSeam) {
    // Zenith 0..10 in 0.1-degree steps, azimuth in 0.25-degree steps; two narrow spikes on
    // points the coarser grid leaves out, one beside the seam at 360 degrees.
    FarFieldGrid fine;
    for (int j = 0; j <= 1440; ++j) {
        AzimuthColumn& column = fine.emplace_back();
        column.Azimuth = static_cast<float>(j) * 0.25f;
        for (int i = 0; i <= 100; ++i) {
            const bool spike = (i == 33 && j == 1) || (i == 72 && j == 1439);
            const float gain = spike ? 20.0f : -10.0f;
            column.Points.push_back({static_cast<float>(i) * 0.1f, gain, gain, gain});
        }
    }
    const std::optional<FarFieldGrid> drawn = DrawnGrid(fine, kDrawnDetailDegrees);
    ASSERT_TRUE(drawn.has_value());
    ASSERT_EQ(drawn->size(), 721U);
    ASSERT_EQ(drawn->front().Points.size(), 21U);
    EXPECT_FLOAT_EQ((*drawn)[1].Azimuth, 0.5f);
    EXPECT_FLOAT_EQ(drawn->back().Azimuth, 360.0f);
    EXPECT_FLOAT_EQ(drawn->front().Points[7].Zenith, 3.5f);
    // Each spike stands on the nearest drawn point; the one by the seam on both its sides.
    EXPECT_EQ((*drawn)[0].Points[7].Total, 20.0f);
    EXPECT_EQ((*drawn)[0].Points[14].Total, 20.0f);
    EXPECT_EQ(drawn->back().Points[14].Total, 20.0f);
    EXPECT_EQ((*drawn)[2].Points[3].Total, -10.0f);
    // Grids no finer than the detail are drawn as they are.
    EXPECT_FALSE(DrawnGrid(MakeGrid(1.0f, 0.5f, [](float, float) { return 0.0f; }), 0.5f));
}

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

TEST(GainColours, TheScaleClampsOutsideAndTheMapsGetLighterUpwardsTheDifferencesNeutralAtZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Gain, peak, range, fraction of the scale. The -999 sentinels and anything not a number sit
    // at the floor; ranges outside 10..60 dB are taken as their nearest end.
    const float cases[][4] = {{10, 10, 40, 1},     {-30, 10, 40, 0},  {-10, 10, 40, 0.5f},
                              {15, 10, 40, 1},     {-999, 10, 40, 0}, {nan, 10, 40, 0},
                              {5, 10, 2, 0.5f},    {-50, 10, 90, 0},  {-20, 10, 90, 0.5f},
                              {-10, 10, nan, 0.5f}};
    for (const auto& [gain, peak, range, fraction] : cases) {
        EXPECT_FLOAT_EQ(GainFraction(gain, peak, range), fraction)
            << gain << " of " << peak << " over " << range;
    }
    const GainRgb floor = GainColour(0.0f);
    const GainRgb peak = GainColour(1.0f);
    EXPECT_GT(floor.b, floor.g);
    EXPECT_GT(peak.r, 0.9f);
    // Lighter all the way up, so that a grey print still orders the gains.
    ExpectLighterUpwards(GainColourStops(), {0.2126f, 0.7152f, 0.0722f});
    // Outside the scale are its ends.
    EXPECT_FLOAT_EQ(GainColour(-3.0f).r, floor.r);
    EXPECT_FLOAT_EQ(GainColour(7.0f).g, peak.g);
    // The difference map is symmetric, neutral at zero and darkest where worse.
    // Difference, span, fraction; equal patterns (span 0) still get a decibel either side.
    const float differences[][3] = {{0, 3, 0.5f},      {3, 3, 1}, {-3, 3, 0},
                                    {-1.5f, 3, 0.25f}, {9, 3, 1}, {nan, 3, 0.5f},
                                    {0.5f, 0, 0.75f}};
    for (const auto& [difference, span, fraction] : differences) {
        EXPECT_FLOAT_EQ(DifferenceFraction(difference, span), fraction)
            << difference << " of " << span;
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

TEST(GainColours, TheLegendLabelsPeakStepsAndFloorAndTheSurfaceGivesBackItsGains) {
    // Peak, range, the ticks; round gains too near an end to be read apart are left out.
    const std::tuple<float, float, std::vector<float>> cases[] = {
        {9.22f, 40, {9.22f, 0, -10, -20, -30.78f}},
        {10, 40, {10, 0, -10, -20, -30}},
        {2, 10, {2, -5, -8}},
        {-3, 20, {-3, -10, -15, -20, -23}}};
    for (const auto& [peak, range, expected] : cases) {
        SCOPED_TRACE(testing::Message() << peak << " over " << range);
        const std::vector<float> ticks = GainLegendTicks(peak, range);
        ASSERT_EQ(ticks.size(), expected.size());
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i], expected[i], 1e-4f);
        }
    }
    // The surface gives back the gain it was drawn from.
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

constexpr double kDegree = std::numbers::pi / 180.0;

CurrentPoint At(double x, double y, double z, double amperes, double degrees = 0.0) {
    return {x, y, z, std::polar(amperes, degrees * kDegree)};
}

TEST(CurrentPaths, TheUnitAndTheScaleFollowTheLargestCurrentAndTubesRunThroughThePoints) {
    EXPECT_EQ(ChooseCurrentUnit(0.0204).Text, kMilliampere);
    EXPECT_EQ(ChooseCurrentUnit(1.0).Text, kAmpere);

    // Current, symmetric scale, fraction of the scale; beyond the largest (rounding in the file)
    // stays at the end.
    const std::tuple<double, bool, float> cases[] = {
        {0.02, false, 1},  {0.01, false, 0.5f}, {0.0, false, 0},  {-0.02, true, 0},
        {0.0, true, 0.5f}, {0.02, true, 1},     {0.03, false, 1}, {-0.03, true, 0}};
    for (const auto& [value, symmetric, fraction] : cases) {
        EXPECT_FLOAT_EQ(CurrentFraction(value, 0.02, symmetric), fraction)
            << value << (symmetric ? " symmetric" : "");
    }

    // Largest at the top, round steps, the foot of the scale last.
    const CurrentLegend magnitude = CurrentLegendFor(0.0204, false, ",");
    EXPECT_EQ(magnitude.Unit, kMilliampere);
    std::vector<std::string> texts;
    std::ranges::transform(magnitude.Ticks, std::back_inserter(texts), &LegendTick::Text);
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

TEST(CurrentPaths, ThePhaseShowsTheInstantCurrentAndTheReadoutNamesThePointUnderThePointer) {
    const std::complex<double> current = std::polar(2.0, 30.0 * kDegree);
    // Omega t in degrees, the current then.
    const std::pair<double, double> cases[] = {{-30, 2}, {0, std::sqrt(3.0)}, {60, 0}, {150, -2}};
    for (const auto& [omegaT, value] : cases) {
        EXPECT_NEAR(InstantaneousCurrent(current, omegaT * kDegree), value, 1e-12) << omegaT;
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
    // The read-out names the point under the pointer.
    const CurrentWires pointed{{"7", {At(0, 0, 0, 0.0204, -11.31), At(0, 0.4, 0, 0.01)}}};
    // Identity transforms: scene x and y are the view's, 200 x 100 pixels.
    const ViewTransform flat{MatrixIdentity(), MatrixIdentity(), MatrixIdentity(), 200, 100};
    const auto pointedPaths = CurrentScenePaths(pointed); // the second point at scene x 1.5
    EXPECT_FALSE(PickCurrentPoint(pointedPaths, flat, 150.0f, 20.0f).has_value());
    const auto pick = PickCurrentPoint(pointedPaths, flat, 103.0f, 52.0f);
    ASSERT_TRUE(pick.has_value());
    EXPECT_EQ(pick->Point, 0u);
    EXPECT_EQ(CurrentReadingText(pointed, *pick, ChooseCurrentUnit(0.0204), ","),
              "Провод 7, импульс 1: 20,40 мА, фаза -11,31°");
}

} // namespace
} // namespace lobex
