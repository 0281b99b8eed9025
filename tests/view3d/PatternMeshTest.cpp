#include "view3d/PatternMesh.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lobex {
namespace {

using test::ExpectNear;
using test::MakeGrid;

PatternMesh Built(const FarFieldGrid& grid) {
    PatternMesh mesh;
    std::string refusal;
    EXPECT_TRUE(BuildPatternVertices(grid, kPiValue, mesh, refusal)) << refusal;
    return mesh;
}

TEST(PatternMesh, TheStrongestPointReachesOneAndTheRestShrinkByTheFourthPower) {
    const PatternMesh mesh = Built(test::FortyBelowTenAbove());
    ASSERT_EQ(mesh.PatternVertices.size(), 2701U);
    // Zenith 90 is point 18; azimuth 0 is column 0 and its 360-degree copy, column 72.
    for (std::size_t peak : {18U * 73U, 18U * 73U + 72U}) {
        EXPECT_NEAR(Vec3Length(mesh.PatternVertices[peak]), 1.0f, 1e-6f) << peak;
        ExpectNear(mesh.PatternVertices[peak], {1, 0, 0}, 1e-6f);
    }
    const float weak = std::pow(20.0f / 70.0f, 4.0f); // 0.00666
    EXPECT_NEAR(weak, 0.00666f, 1e-5f);
    for (std::size_t k : {0U, 1U, 73U * 10U + 5U, 2700U}) {
        EXPECT_NEAR(Vec3Length(mesh.PatternVertices[k]), weak, 1e-7f) << k;
    }
}

TEST(PatternMesh, GainsAtOrBelowTheFloorCollapseToTheCentre) {
    const PatternMesh mesh = Built(MakeGrid(90.0f, 90.0f, [](float zenith, float azimuth) {
        if (zenith == 90.0f && azimuth == 90.0f) {
            return -75.0f;
        }
        if (zenith == 90.0f && azimuth == 180.0f) {
            return -60.0f;
        }
        return 0.0f;
    }));
    // Point 1 (zenith 90) of columns 1 and 2.
    ExpectNear(mesh.PatternVertices[1 * 5 + 1], {0, 0, 0}, 0.0f);
    ExpectNear(mesh.PatternVertices[1 * 5 + 2], {0, 0, 0}, 0.0f);
    EXPECT_NEAR(Vec3Length(mesh.PatternVertices[1 * 5 + 3]), 1.0f, 1e-6f);
}

TEST(PatternMesh, TheLargestSignedCoordinateSetsTheScale) {
    // The strongest direction is straight down; the division uses the largest positive
    // coordinate of the weak rest, not the length of the lobe.
    const PatternMesh mesh = Built(MakeGrid(
        90.0f, 90.0f, [](float zenith, float) { return zenith == 180.0f ? 10.0f : -40.0f; }));
    float largest = -1.0f;
    for (const Vector3& v : mesh.PatternVertices) {
        largest = std::max({largest, v.x, v.y, v.z});
    }
    EXPECT_EQ(largest, 1.0f);
    // The downward lobe: radius 1 divided by the weak radius (20/70)^4.
    EXPECT_NEAR(mesh.PatternVertices[2 * 5].z, -std::pow(70.0f / 20.0f, 4.0f), 1e-2f);
}

TEST(PatternMesh, VerticesAreZenithMajor) {
    const FarFieldGrid grid = MakeGrid(5.0f, 5.0f, [](float zenith, float azimuth) {
        return -10.0f + zenith / 20.0f + azimuth / 100.0f;
    });
    PatternMesh mesh = Built(grid);
    ComputePatternFaces(mesh);
    EXPECT_EQ(mesh.PointCount, 37U);
    EXPECT_EQ(mesh.ColumnCount, 73U);
    ASSERT_EQ(mesh.PatternFaces.size(), 2592U);
    ASSERT_EQ(mesh.PatternNormals.size(), 2701U);
    const PatternFace& first = mesh.PatternFaces.front();
    EXPECT_EQ(std::vector<std::uint32_t>({first.a, first.b, first.c, first.d}),
              std::vector<std::uint32_t>({0, 73, 74, 1}));
    const PatternFace& last = mesh.PatternFaces.back();
    EXPECT_EQ(std::vector<std::uint32_t>({last.a, last.b, last.c, last.d}),
              std::vector<std::uint32_t>({35 * 73 + 71, 36 * 73 + 71, 36 * 73 + 72, 35 * 73 + 72}));
    // Vertex 1 is zenith 0 of column 1 (on the axis), vertex 73 zenith 5 of column 0 (towards
    // azimuth 0, so y = 0 and x > 0).
    EXPECT_NEAR(mesh.PatternVertices[1].x, 0.0f, 1e-7f);
    EXPECT_NEAR(mesh.PatternVertices[1].y, 0.0f, 1e-7f);
    EXPECT_GT(mesh.PatternVertices[73].x, 0.0f);
    EXPECT_EQ(mesh.PatternVertices[73].y, 0.0f);
}

TEST(PatternMesh, FaceNormalsCrossTheDiagonalsInSceneSpace) {
    // One face of a round pattern between the pole and the horizon, azimuths 0 and 90. Scene
    // corners: A = D = (0, 1, 0) (the pole), B = (0, 0, 1), C = (1, 0, 0); (D - B) x (A - C) is
    // (1, 1, 1): outward.
    FarFieldGrid grid(2);
    grid[0].Azimuth = 0.0f;
    grid[1].Azimuth = 90.0f;
    for (AzimuthColumn& column : grid) {
        column.Points = {{0.0f, 0, 0, 5.0f}, {90.0f, 0, 0, 5.0f}};
    }
    PatternMesh mesh = Built(grid);
    ComputePatternFaces(mesh);
    ASSERT_EQ(mesh.PatternFaces.size(), 1U);
    const float third = 1.0f / std::sqrt(3.0f);
    ExpectNear(mesh.PatternFaces[0].Normal, {third, third, third}, 1e-6f);
    for (const Vector3& normal : mesh.PatternNormals) {
        ExpectNear(normal, {third, third, third}, 1e-6f);
    }
}

TEST(PatternMesh, VertexNormalsAreRenormalisedAfterEveryFaceSoLaterFacesWeighMore) {
    const FarFieldGrid grid = MakeGrid(45.0f, 45.0f, [](float zenith, float azimuth) {
        return 5.0f - zenith / 10.0f - azimuth / 30.0f;
    });
    PatternMesh mesh = Built(grid);
    ComputePatternFaces(mesh);
    // Vertex 1 x 9 + 1 (zenith 45, azimuth 45) is corner c, b, d and a of faces 0, 1, 8, 9.
    const std::uint32_t shared = 1 * 9 + 1;
    const std::size_t faces[] = {0, 1, 8, 9};
    Vector3 running;
    Vector3 sum;
    for (std::size_t f : faces) {
        const PatternFace& face = mesh.PatternFaces[f];
        EXPECT_TRUE(face.a == shared || face.b == shared || face.c == shared || face.d == shared);
        running = Vec3Normalize(running + face.Normal);
        sum = sum + face.Normal;
    }
    ExpectNear(mesh.PatternNormals[shared], running, 1e-6f);
    // The plain average would differ: the order is what makes these normals.
    EXPECT_GT(Vec3Length(Vec3Normalize(sum) - running), 1e-3f);
}

TEST(PatternMesh, GridsTheSurfaceCannotBeBuiltFromAreRefusedAndTheOldSurfaceKept) {
    struct Case {
        const char* what;
        FarFieldGrid grid;
        const char* reason;
    };
    FarFieldGrid ragged = MakeGrid(45.0f, 90.0f, [](float, float) { return 0.0f; });
    ragged[2].Points.pop_back();
    FarFieldGrid horizonOnly = MakeGrid(180.0f, 90.0f, [](float, float) { return 0.0f; });
    for (AzimuthColumn& column : horizonOnly) {
        column.Points.resize(1);
    }
    FarFieldGrid backwardsOnly = MakeGrid(90.0f, 90.0f, [](float zenith, float azimuth) {
        return zenith == 90.0f && azimuth == 180.0f ? 3.0f : -80.0f;
    });
    const Case cases[] = {
        {"a column with a point missing", ragged, "разное число точек"},
        {"gain never above -60 dBi", MakeGrid(45.0f, 90.0f, [](float, float) { return -60.0f; }),
         "не превышает -60 dBi"},
        {"no coordinate above zero", backwardsOnly, "положительных координат"},
        {"the empty grid left by a failed load", FarFieldGrid(1), "недостаточно данных"},
        {"a single zenith angle", horizonOnly, "недостаточно данных"},
    };
    PatternMesh mesh = Built(test::FortyBelowTenAbove());
    const std::vector<Vector3> before = mesh.PatternVertices;
    for (const Case& c : cases) {
        std::string refusal;
        EXPECT_FALSE(BuildPatternVertices(c.grid, kPiValue, mesh, refusal)) << c.what;
        EXPECT_NE(refusal.find(c.reason), std::string::npos) << c.what << ": " << refusal;
        EXPECT_NE(refusal.find("Трехмерная модель не построена."), std::string::npos) << c.what;
        EXPECT_EQ(mesh.PatternVertices, before) << c.what;
        EXPECT_EQ(mesh.PointCount, 37U) << c.what;
    }
}

} // namespace
} // namespace lobex
