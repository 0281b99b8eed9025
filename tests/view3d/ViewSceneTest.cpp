#include "view3d/ViewScene.h"

#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "view3d/ModelFile.h"
#include "view3d/ViewControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace lobex {
namespace {

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

using Draw = RecordingDevice::Draw;

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
    const Draw& surface = loaded.device.draws[0];
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
    test::ExpectNear(Vec3TransformCoord({}, loaded.device.draws.back().world),
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
    const auto lines = TextLines(view, 7.349f, ",");
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0].Text, "Lobex");
    EXPECT_EQ(lines[1].Text, "Dipole 20m");
    EXPECT_EQ(lines[2].Text, "f=14.1MHz");
    EXPECT_EQ(lines[3].Text, "Ga=7,35dBi");
    EXPECT_EQ(TextLines(view, -0.5f, ".")[3].Text, "Ga=-0.50dBi");
}

} // namespace
} // namespace lobex
