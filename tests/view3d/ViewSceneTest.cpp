#include "view3d/ViewScene.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "view3d/ModelFile.h"
#include "view3d/SurfaceReadout.h"
#include "view3d/ViewControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <numbers>
#include <optional>
#include <string>
#include <tuple>

namespace lobex {
namespace {

using test::ExpectNear;

// Records what a frame asks of the device, with the gain colouring of each draw.
class RecordingDevice final : public test::RecordingRendererOf<View3DDevice> {
public:
    void DrawSubset(const MeshData& mesh, std::uint32_t subset) override {
        RecordingRendererOf::DrawSubset(mesh, subset);
        colourings.push_back(colouring);
    }
    void SetGainColouring(const GainColouring* value) override {
        colouring.reset();
        if (value != nullptr) {
            colouring = *value;
        }
    }
    void SetProjection(const Matrix&) override {}
    void SetViewTransform(const Matrix&) override {}
    void SetLights(const std::array<DirectionalLight, 2>&) override {}
    void SetAmbient(std::uint32_t) override {}
    void Clear(std::uint32_t packed) override { clears.push_back(packed); }
    void SetFillMode(bool, bool) override {}
    void DrawLine3D(Vector3 from, Vector3 to, std::uint32_t packed) override {
        lines.push_back({from, to, packed});
    }

    std::optional<GainColouring> colouring;
    std::vector<std::optional<GainColouring>> colourings;
    std::vector<std::uint32_t> clears;
    std::vector<Line3D> lines;
};

bool SameColor(const ColorValue& color, std::uint32_t packed) {
    return PackedFromColorValue(color) == packed;
}

std::size_t DrawsIn(const RecordingDevice& device, std::uint32_t color) {
    return static_cast<std::size_t>(
        std::count_if(device.draws.begin(), device.draws.end(),
                      [&](const auto& draw) { return SameColor(draw.material.Diffuse, color); }));
}

// A scene with the pattern of a known grid made from its binary model.
struct LoadedScene {
    LoadedScene() {
        PatternMesh mesh = test::BuiltMesh(test::FortyBelowTenAbove());
        faces = mesh.FaceCount();
        CreateSceneFrames(scene, PatternSceneMesh(BinaryModelBytes(mesh), mesh));
        scene.Context.renderer = &device;
    }
    View3DScene scene;
    RecordingDevice device;
    std::size_t faces = 0;
};

TEST(ViewScene, ThePatternTheTranslucentGroundAndTheAxesAreDrawnOnlyWithTheirFlags) {
    LoadedScene loaded;
    View3DState view;
    Render3DFrame(loaded.scene, loaded.device, view, 640, 480);
    EXPECT_EQ(loaded.device.clears, std::vector<std::uint32_t>{kClearColor});
    EXPECT_TRUE(loaded.device.draws.empty());
    EXPECT_TRUE(loaded.device.lines.empty());

    view.PatternVisible = view.GroundVisible = view.AxesVisible = true;
    Render3DFrame(loaded.scene, loaded.device, view, 640, 480);
    ASSERT_EQ(DrawsIn(loaded.device, kPatternColor), 1U);
    // Each quadrilateral of the surface is two triangles.
    const auto& surface = loaded.device.draws[0];
    EXPECT_EQ(std::count(surface.mesh->Attributes.begin(), surface.mesh->Attributes.end(),
                         surface.subset),
              static_cast<std::ptrdiff_t>(2 * loaded.faces));
    ASSERT_EQ(DrawsIn(loaded.device, kGroundColor), 1U);
    EXPECT_TRUE(loaded.device.draws.back().blending);
    // Three axes, the letters X, Y and Z; the upward axis starts at the ground.
    ASSERT_EQ(loaded.device.lines.size(), 3U + 2U + 3U + 3U);
    EXPECT_EQ(loaded.device.lines[2].To, (Vector3{0.0f, 1.1f, 0.0f}));
}

TEST(ViewScene, WiresAndFeedMarkersFollowTheRootFrameOnce) {
    LoadedScene loaded;
    View3DState view;
    view.Antenna = test::Dipole();
    view.Antenna.Sources.resize(1); // the feed on the wire
    view.AntennaLoaded = true;
    view.WiresVisible = true;
    BuildFeedMarkers(loaded.scene, view.Antenna);
    TurnScene(loaded.scene, 0.3f);
    Render3DFrame(loaded.scene, loaded.device, view, 640, 480);

    ASSERT_EQ(loaded.device.lines.size(), 1U);
    EXPECT_EQ(loaded.device.lines[0].From, view.Antenna.Wires[0].End1);
    ASSERT_EQ(DrawsIn(loaded.device, kMarkerColor), 1U);
    // The marker's world position is the feed point turned by the root, as the wire is.
    const Matrix& root = loaded.scene.RootFrame->GetMatrix();
    ExpectNear(Vec3TransformCoord({}, loaded.device.draws.back().world),
               Vec3TransformCoord(view.Antenna.Sources[0].Position, root));
}

TEST(ViewScene, OnlyThePatternIsColouredByGainAndOnlyWhenAskedFor) {
    for (const bool colours : {false, true}) {
        LoadedScene loaded;
        View3DState view;
        view.Pattern = view.Drawn = test::BuiltMesh(test::FortyBelowTenAbove());
        view.PatternVisible = true;
        view.GroundVisible = true;
        view.GainColours = colours;
        view.GainRangeDb = 25.0f;
        Render3DFrame(loaded.scene, loaded.device, view, 640, 480);
        ASSERT_EQ(DrawsIn(loaded.device, kPatternColor), 1U);
        // This pattern reaches below the horizon, so the plate is the fainter one.
        ASSERT_EQ(DrawsIn(loaded.device, kSeeThroughGroundColor), 1U);
        for (std::size_t i = 0; i < loaded.device.draws.size(); ++i) {
            const bool pattern = SameColor(loaded.device.draws[i].material.Diffuse, kPatternColor);
            const std::optional<GainColouring>& colouring = loaded.device.colourings[i];
            ASSERT_EQ(colouring.has_value(), pattern && colours);
            if (colouring) {
                EXPECT_FLOAT_EQ(colouring->PeakGain, 10.0f);
                EXPECT_FLOAT_EQ(colouring->RangeDb, 25.0f);
            }
        }
        // Nothing stays coloured after the frame.
        EXPECT_FALSE(loaded.device.colouring.has_value());
    }
}

TEST(ViewScene, TextLinesShowTheAntennaAndThePeakGainInTheUsersDecimalSymbol) {
    View3DState view;
    ASSERT_EQ(TextLines(view, 7.349f, ",").size(), 1U);

    view.Antenna = test::Dipole();
    view.AntennaLoaded = true;
    std::vector<std::string> texts;
    std::ranges::transform(TextLines(view, 7.349f, ","), std::back_inserter(texts),
                           &TextLine::Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Lobex", "Dipole 20m", "f=14.1MHz", "Ga=7,35dBi"}));
    EXPECT_EQ(TextLines(view, -0.5f, ".")[3].Text, "Ga=-0.50dBi");
}

View3DState Holding(int key) {
    View3DState view;
    view.KeyDown3D[static_cast<std::size_t>(key)] = true;
    return view;
}

TEST(ViewControl, EachMovingKeyMovesOrTiltsTheCameraUpToItsLimit) {
    const std::tuple<int, float Vector3::*, float> cases[] = {
        {vk::Left, &Vector3::x, 0.5f},  {vk::Right, &Vector3::x, -0.5f},
        {vk::Down, &Vector3::y, 1.5f},  {vk::Up, &Vector3::y, -0.5f},
        {vk::Home, &Vector3::z, -1.5f}, {vk::End, &Vector3::z, -3.0f},
    };
    for (const auto& [key, axis, limit] : cases) {
        View3DState view = Holding(key);
        for (int i = 0; i < 400; ++i) {
            UpdateCamera(view, 0.01f, DeviceKind::Software);
        }
        EXPECT_EQ(view.CameraPosition.*axis, limit) << key;
    }
    // The page keys tilt the camera between level and its limit without moving it.
    View3DState down = Holding(vk::PageDown);
    UpdateCamera(down, 0.0f, DeviceKind::Software);
    EXPECT_EQ(down.CameraPitch, 0.0f); // never below level
    View3DState up = Holding(vk::PageUp);
    for (int i = 0; i < 2000; ++i) {
        UpdateCamera(up, 0.01f, DeviceKind::Software);
    }
    EXPECT_EQ(up.CameraPitch, kPitchMax);
    EXPECT_EQ(up.CameraPosition, (Vector3{0.0f, 0.25f, -2.5f}));
}

TEST(ViewControl, ADragTurnsAndTiltsByAFixedAngleAndFunctionKeysActOnRelease) {
    // The pointer's x and y, the turn and the tilt after the move.
    const float moves[][4] = {{101.0f, 7.0f, -0.05f, 0.05f},  {400.0f, 300.0f, -0.05f, 0.10f},
                              {398.0f, 300.0f, 0.05f, 0.10f}, {398.0f, 290.0f, 0.0f, 0.05f},
                              {398.0f, 100.0f, 0.0f, 0.0f},   {398.0f, 50.0f, 0.0f, 0.0f}};
    View3DState view;
    view.LastMouseX = 100.0f;
    for (const auto& [x, y, angle, pitch] : moves) {
        EXPECT_FLOAT_EQ(MouseRotate(view, x, y), angle) << x;
        // Down looks from higher up; the tilt stays within level and straight down.
        EXPECT_NEAR(view.CameraPitch, pitch, 1e-6f) << y;
    }
    // Function keys act on release.
    const std::pair<int, bool View3DState::*> toggles[] = {
        {vk::F2, &View3DState::WiresVisible},
        {vk::F3, &View3DState::GroundVisible},
        {vk::F4, &View3DState::AxesVisible},
        {vk::F5, &View3DState::PatternVisible},
    };
    for (const auto& [key, flag] : toggles) {
        View3DState keyed;
        KeyDown3D(keyed, key, false);
        EXPECT_FALSE(keyed.*flag) << key;
        KeyUp3D(keyed, key);
        EXPECT_TRUE(keyed.*flag) << key;
        KeyUp3D(keyed, key);
        EXPECT_FALSE(keyed.*flag) << key;
    }
    // Only F2 with a modifier asks for an antenna.
    View3DState keyed;
    EXPECT_TRUE(KeyDown3D(keyed, vk::F2, true));
    EXPECT_FALSE(KeyDown3D(keyed, vk::F2, false));
    EXPECT_FALSE(KeyDown3D(keyed, vk::F3, true));
    // F7 switches lighting only in wireframe.
    KeyUp3D(keyed, vk::F7);
    EXPECT_FALSE(keyed.WireLighting);
    keyed.Wireframe = true;
    KeyUp3D(keyed, vk::F7);
    EXPECT_TRUE(keyed.WireLighting);
    // F6 puts the camera back and levels it, whatever tilted it.
    keyed.CameraPosition = {0.5f, 1.0f, -1.5f};
    keyed.PitchVelocity = 3.0f;
    keyed.CameraPitch = 1.0f;
    KeyUp3D(keyed, vk::F6);
    EXPECT_EQ(keyed.CameraPosition, (Vector3{0.0f, 0.25f, -2.5f}));
    EXPECT_EQ(keyed.PitchVelocity, 0.0f);
    EXPECT_EQ(keyed.CameraPitch, 0.0f);
}

TEST(ViewControl, AViewNeedsFramesOnlyWhileSomethingMovesAndComesToRest) {
    const std::tuple<const char*, std::function<void(View3DState&)>, bool> cases[] = {
        {"still", [](View3DState&) {}, false},
        {"turning", [](View3DState& v) { v.AutoRotate = true; }, true},
        {"turning held by a drag", [](View3DState& v) { v.AutoRotate = v.MouseDragging = true; },
         false},
        {"a key held", [](View3DState& v) { v.KeyDown3D[vk::PageUp] = true; }, true},
        {"a toggle key held", [](View3DState& v) { v.KeyDown3D[vk::F4] = true; }, false},
        {"gliding", [](View3DState& v) { v.PitchVelocity = -0.2f; }, true},
    };
    for (const auto& [what, set, moving] : cases) {
        View3DState view;
        set(view);
        EXPECT_EQ(NeedsFrames(view), moving) << what;
    }
    // Let go, the camera glides to rest within a couple of seconds of frames.
    View3DState view = Holding(vk::Left);
    view.KeyDown3D[vk::PageUp] = true;
    UpdateCamera(view, 0.01f, DeviceKind::Hardware);
    view.KeyDown3D = {};
    int frames = 0;
    for (; NeedsFrames(view) && frames < 1000; ++frames) {
        UpdateCamera(view, 0.01f, DeviceKind::Hardware);
    }
    EXPECT_LT(frames, 200);
}

// The subject is the least sphere on the turning axis holding every point, and it fits the view.
TEST(ViewControl, TheSubjectIsTheLeastSphereOnTheAxisAndFitsTheViewForEveryShapeAndTilt) {
    View3DState view;
    FrameSubject(view, {});
    EXPECT_EQ(view.SubjectRadius, 1.0f);
    const Vector3 points[] = {{1.0f, 0.0f, 0.0f}, {0.0f, 2.0f, 0.0f}, {0.0f, 0.5f, -0.6f}};
    FrameSubject(view, points);
    // 1 + c^2 = (2 - c)^2 at c = 0.75.
    ExpectNear(view.SubjectCentre, {0.0f, 0.75f, 0.0f}, 1e-4f);
    EXPECT_NEAR(view.SubjectRadius, 1.25f, 1e-4f);
    const int sizes[][2] = {{800, 600}, {1800, 500}, {400, 1000}, {300, 300}, {120, 700}};
    const float tilts[] = {0.0f, 30.0f, 60.0f, 80.0f, 90.0f};
    for (const auto& size : sizes) {
        for (const float tilt : tilts) {
            SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1] << " at " << tilt);
            view.CameraPitch = std::min(tilt * kViewPi / 180.0f, kPitchMax);
            // Scene points to normalised device coordinates.
            const ViewCamera camera = CameraFor(view, size[0], size[1]);
            const Matrix projection = camera.View * camera.Projection;
            // The centre stays in the middle: the tilt turns round it.
            const Vector3 centre = Vec3TransformCoord(view.SubjectCentre, projection);
            EXPECT_NEAR(centre.x, 0.0f, 1e-4f);
            EXPECT_NEAR(centre.y, 0.0f, 1e-4f);
            float reach = 0.0f;
            for (int i = 0; i < 24; ++i) {
                for (int k = 0; k <= 12; ++k) {
                    const float a = static_cast<float>(i) * kViewPi / 12.0f;
                    const float b = static_cast<float>(k) * kViewPi / 12.0f;
                    const Vector3 onSphere =
                        view.SubjectCentre +
                        Vector3{std::cos(a) * std::sin(b), std::cos(b), std::sin(a) * std::sin(b)} *
                            view.SubjectRadius;
                    const Vector3 ndc = Vec3TransformCoord(onSphere, projection);
                    // Within the picture, and between the near and far planes.
                    EXPECT_LT(std::max(std::fabs(ndc.x), std::fabs(ndc.y)), 0.95f);
                    EXPECT_TRUE(ndc.z > 0.0f && ndc.z < 1.0f);
                    reach =
                        std::max(reach, size[0] >= size[1] ? std::fabs(ndc.y) : std::fabs(ndc.x));
                }
            }
            // And it fills the narrower side but for the margin.
            EXPECT_GT(reach, 0.8f);
        }
    }
}

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
        CreateSceneFrames(scene, PatternSceneMesh(BinaryModelBytes(mesh), mesh));
        view.Drawn = mesh;
        FrameSubject(view);
        view.CameraPitch = 0.5f;
        UpdateCamera(view, 0.0f, DeviceKind::Hardware);
    }
    ViewTransform Transform() {
        const ViewCamera camera = CameraFor(view, 640, 480);
        return {scene.RootFrame->GetMatrix(), camera.View, camera.Projection, 640, 480};
    }
    // Where the surface point of a direction of the 5-degree grid lands in the picture.
    std::pair<float, float> Pixel(float azimuth, float elevation) {
        const auto point = static_cast<std::size_t>((90.0f - elevation) / 5.0f);
        const auto column = static_cast<std::size_t>(std::fmod(azimuth + 360.0f, 360.0f) / 5.0f);
        const Vector3 surface = mesh.PatternVertices[point * mesh.ColumnCount + column];
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

TEST(SurfaceReadout, KnownDirectionsReadBackUnderThePointerFromTheGridInTheUsersDecimalSymbol) {
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
    // The corners of the view are off the surface, and a view of no size reads nothing.
    EXPECT_FALSE(ReadPatternSurface(viewed.mesh, viewed.grid, viewed.Transform(), 2.0f, 2.0f));
    EXPECT_FALSE(ReadPatternSurface(viewed.mesh, viewed.grid, viewed.Transform(), 638.0f, 478.0f));
    EXPECT_FALSE(ReadPatternSurface(viewed.mesh, viewed.grid,
                                    {MatrixIdentity(), MatrixIdentity(), MatrixIdentity(), 0, 0},
                                    320.0f, 240.0f));
    // Zenith 0 and 90, azimuth 0, 180 and the closing 360.
    FarFieldGrid grid;
    for (const float azimuth : {0.0f, 180.0f, 360.0f}) {
        const float back = azimuth == 180.0f ? -999.0f : 0.0f;
        grid.push_back({azimuth, {{0.0f, 0.0f, 0.0f, 10.0f}, {90.0f, 0.0f, 0.0f, back}}});
    }
    // Zenith, azimuth, gain; 120 is past the last zenith angle.
    const float cases[][3] = {{0, 0, 10},    {90, 0, 0},     {45, 0, 5},    {90, 180, -60},
                              {90, 90, -30}, {90, 270, -30}, {120, 360, 0}, {45, 90, -10}};
    for (const auto& [zenith, azimuth, gain] : cases) {
        EXPECT_NEAR(GridGainAt(grid, zenith, azimuth), gain, 1e-4f) << zenith << ", " << azimuth;
    }
    EXPECT_FLOAT_EQ(GridGainAt({}, 10.0f, 10.0f), -60.0f);
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
