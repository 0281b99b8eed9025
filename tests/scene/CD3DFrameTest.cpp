#include "scene/CD3DFrame.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <numbers>

namespace lobex {
namespace {

using test::ExpectMatrixNear;
using test::ExpectNear;
using test::RecordingRenderer;

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2.0f;

Vector3 Origin(const Matrix& matrix) {
    return Vec3TransformCoord({0, 0, 0}, matrix);
}

// The scene of the 3D view in small: a turned root, a translucent ground plate and a pattern.
class FrameRendering : public ::testing::Test {
protected:
    FrameRendering() {
        scene.renderer = &renderer;
        root->SetOrientation(QuaternionRotationAxis({0, 1, 0}, kQuarterTurn));
        ground = CreateFrame(root.get());
        plate = ground->AddD3DXMesh(CreateBoxMesh(2.0f, 0.005f, 2.0f));
        plate->SetMaterialOverride(MaterialFromColor(ColorValueFromPacked(0x40C0C0C0U)));
        pattern = CreateFrame(root.get());
        pattern->SetPosition({0, 0, 1});
        surface = pattern->AddD3DXMesh(CreateSphereMesh(1.0f, 8, 8));
        surface->SetMaterial(0, MaterialFromColor(ColorValueFromPacked(0xFF4040F0U)));
    }

    RecordingRenderer renderer;
    SceneContext scene;
    std::shared_ptr<CD3DFrame> root = CreateFrame();
    std::shared_ptr<CD3DFrame> ground;
    std::shared_ptr<CD3DFrame> pattern;
    std::shared_ptr<CD3DMesh> plate;
    std::shared_ptr<CD3DMesh> surface;
};

TEST_F(FrameRendering, OpaqueSubsetsComeFirstInTheirFramesPlaceThenTranslucentOnes) {
    renderer.world = MatrixTranslation(0, -1, 0);
    std::vector<std::string> calls;
    pattern->SetPreRenderCallback([&](CD3DFrame&, Renderer&) { calls.push_back("pre"); });
    pattern->SetPostRenderCallback([&](CD3DFrame&, Renderer&) { calls.push_back("post"); });
    root->Render(scene);
    ASSERT_EQ(renderer.draws.size(), 2U);
    EXPECT_EQ(renderer.draws[0].mesh, &surface->GetMeshData());
    EXPECT_FALSE(renderer.draws[0].blending);
    EXPECT_TRUE(renderer.draws[1].blending);
    EXPECT_EQ(renderer.blendingChanges, (std::vector<bool>{true, false}));
    // The pattern frame's origin: (0, 0, 1), turned to (1, 0, 0), then the world's move down.
    ExpectNear(Origin(renderer.draws[0].world), {1, -1, 0});
    ExpectMatrixNear(renderer.world, MatrixTranslation(0, -1, 0));
    EXPECT_EQ(calls, (std::vector<std::string>{"pre", "post", "pre", "post"})); // both passes

    // The matrices of UpdateFrames can stand in for the walk down the tree.
    renderer.draws.clear();
    root->UpdateFrames(MatrixTranslation(0, 3, 0));
    root->Render(scene, true);
    ExpectNear(Origin(renderer.draws.at(0).world), {1, 3, 0});
}

TEST_F(FrameRendering, DisabledFramesClippedMeshesAndAMissingDeviceDrawNothing) {
    const auto drawn = [this] {
        renderer.draws.clear();
        root->Render(scene);
        return renderer.draws.size();
    };
    ground->Enabled = false;
    EXPECT_EQ(drawn(), 1U);
    root->Enabled = false;
    EXPECT_EQ(drawn(), 0U);
    root->Enabled = ground->Enabled = true;
    // Keep what lies at x >= 0.5, then x >= 2.5: the sphere of radius 1 sits around (1, 0, 0)
    // and the plate reaches x = 1.
    scene.ClipPlanes = {{1, 0, 0, -0.5f}};
    EXPECT_EQ(drawn(), 2U);
    scene.ClipPlanes = {{1, 0, 0, -2.5f}};
    EXPECT_EQ(drawn(), 0U);
    scene.ClipPlanes.clear();
    scene.renderer = nullptr;
    EXPECT_EQ(drawn(), 0U);
}

} // namespace
} // namespace lobex
