#include "view3d/SurfaceReadout.h"

#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "view3d/ModelFile.h"
#include "view3d/ViewControl.h"
#include "view3d/ViewScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace lobex {
namespace {

constexpr float kDegree = std::numbers::pi_v<float> / 180.0f;

Vector3 Direction(float azimuth, float elevation) {
    const float zenith = (90.0f - elevation) * kDegree;
    return {std::cos(azimuth * kDegree) * std::sin(zenith),
            std::sin(azimuth * kDegree) * std::sin(zenith), std::cos(zenith)};
}

// Total gain of a broad lobe towards azimuth 30 on the horizon: 8 dBi there, falling smoothly
// to -12 dBi on the far side.
float Lobe(float zenith, float azimuth) {
    const Vector3 lobe = Direction(30.0f, 0.0f);
    const Vector3 here = Direction(azimuth, 90.0f - zenith);
    return -2.0f + 10.0f * Vec3Dot(lobe, here);
}

// The pattern of a grid in the view as the window shows it, 640x480, the camera framing it from
// a little above.
struct ViewedPattern {
    explicit ViewedPattern(const FarFieldGrid& pattern) : grid(pattern) {
        mesh = test::BuiltMesh(grid);
        PatternMesh file = mesh;
        CreateSceneFrames(scene, PatternSceneMesh(BinaryModelBytes(file), mesh));
        view.Drawn = mesh;
        FrameSubject(view);
        view.CameraPitch = 0.5f;
        UpdateCamera(view, 0.0f, DeviceKind::Hardware);
    }
    ViewTransform Transform() {
        const ViewCamera camera = CameraFor(view, 640, 480);
        return {scene.RootFrame->GetMatrix(), camera.View, camera.Projection, 640, 480};
    }
    // Where the surface point in a direction lands in the picture.
    std::pair<float, float> Pixel(float azimuth, float elevation) {
        const Vector3 d = Direction(azimuth, elevation);
        const float gain = Lobe(90.0f - elevation, azimuth);
        const double ratio = (60.0 + gain) / (mesh.PeakGain + 60.0);
        const Vector3 surface =
            d * static_cast<float>(ratio * ratio * ratio * ratio) * mesh.PeakRadius;
        const ViewTransform t = Transform();
        const Vector3 ndc = Vec3TransformCoord(
            ToScene(surface), MatrixMultiply(MatrixMultiply(t.World, t.View), t.Projection));
        return {(ndc.x + 1.0f) / 2.0f * 640.0f, (1.0f - ndc.y) / 2.0f * 480.0f};
    }
    FarFieldGrid grid;
    PatternMesh mesh;
    View3DScene scene;
    View3DState view;
};

// The azimuth that faces the camera: where the pattern's centre line meets the view.
float FacingAzimuth(ViewedPattern& viewed) {
    const auto reading =
        ReadPatternSurface(viewed.mesh, viewed.grid, viewed.Transform(), 320.0f, 240.0f);
    EXPECT_TRUE(reading.has_value());
    return reading ? reading->Azimuth : 0.0f;
}

TEST(SurfaceReadout, KnownDirectionsOfAPatternReadBackUnderThePointer) {
    ViewedPattern viewed(test::MakeGrid(5.0f, 5.0f, Lobe));
    // Turn the pattern so that its lobe faces the camera, then azimuth 90, then its back.
    for (const float wanted : {30.0f, 90.0f, 210.0f}) {
        const float facing = FacingAzimuth(viewed);
        TurnScene(viewed.scene, (wanted - facing) * kDegree);
        if (std::fabs(FacingAzimuth(viewed) - wanted) > 1.0f) {
            // The turn goes the other way round.
            TurnScene(viewed.scene, 2.0f * (facing - wanted) * kDegree);
        }
        ASSERT_NEAR(FacingAzimuth(viewed), wanted, 1.0f);
        // Straight ahead, aside, up, and close to the zenith where no lobe stands before it.
        std::vector<std::pair<float, float>> cases{
            {wanted, 0.0f}, {wanted + 35.0f, 10.0f}, {wanted - 20.0f, 45.0f}};
        if (wanted == 210.0f) {
            cases.emplace_back(wanted, 80.0f);
        }
        for (const auto& [azimuth, elevation] : cases) {
            SCOPED_TRACE(testing::Message() << "azimuth " << azimuth << " elevation " << elevation);
            const auto [x, y] = viewed.Pixel(azimuth, elevation);
            const auto reading =
                ReadPatternSurface(viewed.mesh, viewed.grid, viewed.Transform(), x, y);
            ASSERT_TRUE(reading.has_value());
            EXPECT_NEAR(reading->Azimuth, azimuth, 1.5f);
            EXPECT_NEAR(reading->Elevation, elevation, 1.5f);
            EXPECT_NEAR(reading->Gain, Lobe(90.0f - elevation, azimuth), 0.3f);
        }
    }
    // The strongest lobe reads its peak; the corners of the view are off the surface.
    const auto [x, y] = viewed.Pixel(30.0f, 0.0f);
    TurnScene(viewed.scene, 0.0f);
    for (const auto& [cx, cy] : {std::pair{2.0f, 2.0f}, std::pair{638.0f, 478.0f}}) {
        EXPECT_FALSE(ReadPatternSurface(viewed.mesh, viewed.grid, viewed.Transform(), cx, cy));
    }
    EXPECT_FALSE(ReadPatternSurface(viewed.mesh, viewed.grid,
                                    {MatrixIdentity(), MatrixIdentity(), MatrixIdentity(), 0, 0}, x,
                                    y));
}

TEST(SurfaceReadout, TheGridIsReadBetweenItsPointsWithTheSentinelsFloored) {
    // Zenith 0 and 90, azimuth 0, 180 and the closing 360.
    FarFieldGrid grid;
    for (const float azimuth : {0.0f, 180.0f, 360.0f}) {
        AzimuthColumn column{azimuth, {}};
        const float back = azimuth == 180.0f ? -999.0f : 0.0f;
        column.Points.push_back({0.0f, 0.0f, 0.0f, 10.0f});
        column.Points.push_back({90.0f, 0.0f, 0.0f, back});
        grid.push_back(column);
    }
    // Zenith, azimuth, gain; 120 is past the last zenith angle.
    const float cases[][3] = {{0, 0, 10},    {90, 0, 0},     {45, 0, 5},    {90, 180, -60},
                              {90, 90, -30}, {90, 270, -30}, {120, 360, 0}, {45, 90, -10}};
    for (const auto& [zenith, azimuth, gain] : cases) {
        EXPECT_NEAR(GridGainAt(grid, zenith, azimuth), gain, 1e-4f) << zenith << ", " << azimuth;
    }
    EXPECT_FLOAT_EQ(GridGainAt({}, 10.0f, 10.0f), -60.0f);
}

TEST(SurfaceReadout, TheTextUsesTheUsersDecimalSymbol) {
    EXPECT_EQ(SurfaceReadingText({90.0f, 12.5f, 8.354f, {}}, ","),
              "Азимут 90,0°  Угол места 12,5°  Ga=8,35 dBi");
    EXPECT_EQ(SurfaceReadingText({359.96f, -3.0f, -0.5f, {}}, ".", {"Azimuth", "Elevation"}),
              "Azimuth 360.0°  Elevation -3.0°  Ga=-0.50 dBi");
    // Over a difference both gains, and B − A signed.
    EXPECT_EQ(SurfaceReadingText({90.0f, 12.5f, 8.354f, 9.1f}, ","),
              "Азимут 90,0°  Угол места 12,5°  Ga=8,35 dBi  Gb=9,10 dBi  B − A=+0,75 dB");
}

} // namespace
} // namespace lobex
