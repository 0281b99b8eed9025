#include "view3d/PatternMesh.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lobex {
namespace {

using test::ExpectNear;
using test::MakeGrid;

TEST(PatternMesh, GainsAtOrBelowTheFloorCollapseToTheCentre) {
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
}

TEST(PatternMesh, TheLargestSignedCoordinateSetsTheScale) {
    // The strongest direction is straight down; the division uses the largest positive
    // coordinate of the weak rest, not the length of the lobe.
    const PatternMesh mesh = test::BuiltMesh(MakeGrid(
        90.0f, 90.0f, [](float zenith, float) { return zenith == 180.0f ? 10.0f : -40.0f; }));
    float largest = -1.0f;
    for (const Vector3& v : mesh.PatternVertices) {
        largest = std::max({largest, v.x, v.y, v.z});
    }
    EXPECT_EQ(largest, 1.0f);
    // The downward lobe: radius 1 divided by the weak radius (20/70)^4.
    EXPECT_NEAR(mesh.PatternVertices[2 * 5].z, -std::pow(70.0f / 20.0f, 4.0f), 1e-2f);
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

} // namespace
} // namespace lobex
