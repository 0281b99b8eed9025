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

TEST(CD3DFrame, SettingPositionOrientationCentreOrScaleRebuildsTheLocalMatrix) {
    auto frame = CreateFrame();
    ExpectMatrixNear(frame->GetMatrix(), MatrixIdentity());
    frame->SetPosition({0, 0, 5});
    frame->SetOrientation(QuaternionRotationAxis({0, 1, 0}, kQuarterTurn));
    frame->SetOrientationCenter({1, 0, 0});
    frame->SetScale(2.0f);
    const float expected[4][4] = {{0, 0, -2, 0}, {0, 2, 0, 0}, {2, 0, 0, 0}, {1, 0, 6, 1}};
    ExpectMatrixNear(frame->GetMatrix(), expected);
    ExpectNear(frame->GetPosition(), {0, 0, 5});
    EXPECT_FLOAT_EQ(frame->GetScale(), 2.0f);
    ExpectNear(frame->GetOrientationCenter(), {1, 0, 0});
    EXPECT_EQ(CD3DFrame::ClassName(), "CD3DFrame");
}

TEST(CD3DFrame, TheRootFrameTurnsAQuarterAboutTheUpAxis) {
    // The scene's root: 90 degrees converted with the literal 3.1415.
    auto root = CreateFrame();
    root->SetOrientation(QuaternionRotationAxis({0, 1, 0}, 90.0f / 180.0f * 3.1415f));
    // Scene z (the pattern's azimuth 0) turns towards scene x.
    ExpectNear(root->TransformCoord({0, 0, 1}), {1, 0, 0}, 1e-4f);
}

TEST(CD3DFrame, AddedTransformationsCombineBeforeAfterOrInsteadOfTheMatrix) {
    struct Case {
        CombineMode mode;
        Vector3 origin;
    };
    // A frame moved to (1, 0, 0), then turned a quarter about y: where its origin goes.
    const Case cases[] = {
        {CombineMode::Before, {1, 0, 0}},  // turn, then move
        {CombineMode::After, {0, 0, -1}},  // move, then turn
        {CombineMode::Replace, {0, 0, 0}}, // the turn alone
    };
    for (const Case& c : cases) {
        auto frame = CreateFrame();
        frame->SetPosition({1, 0, 0});
        frame->AddRotation(c.mode, {0, 1, 0}, kQuarterTurn);
        ExpectNear(frame->TransformCoord({0, 0, 0}), c.origin);
    }
    auto frame = CreateFrame();
    frame->AddScale(CombineMode::After, 2, 3, 4);
    frame->AddTranslation(CombineMode::After, 1, 1, 1);
    ExpectNear(frame->TransformCoord({1, 1, 1}), {3, 4, 5});
    ExpectNear(frame->InverseTransformCoord({3, 4, 5}), {1, 1, 1});
    ExpectNear(frame->TransformNormal({1, 1, 1}), {2, 3, 4});
    ExpectNear(frame->InverseTransformNormal({2, 3, 4}), {1, 1, 1});
}

TEST(CD3DFrame, UpdateFramesGivesEachFrameItsLocalMatrixThenItsParents) {
    auto root = CreateFrame();
    root->SetOrientation(QuaternionRotationAxis({0, 1, 0}, kQuarterTurn));
    root->SetPosition({0, 1, 0});
    auto child = CreateFrame(root.get());
    child->SetPosition({1, 0, 0});
    root->UpdateFrames();
    // The child's origin: (1, 0, 0), turned to (0, 0, -1), moved up.
    ExpectNear(Vec3TransformCoord({0, 0, 0}, child->GetUpdatedMatrix()), {0, 1, -1});
    root->UpdateFrames(MatrixTranslation(5, 0, 0));
    ExpectNear(Vec3TransformCoord({0, 0, 0}, child->GetUpdatedMatrix()), {5, 1, -1});
}

TEST(CD3DFrame, ChildrenAreFoundByNameAndTheTreeCannotBecomeALoop) {
    auto root = CreateFrame();
    root->ObjectName = "Root";
    auto ground = CreateFrame(root.get());
    ground->ObjectName = "Ground";
    auto antenna = CreateFrame(root.get());
    antenna->ObjectName = "Antenna";
    auto marker = CreateFrame(antenna.get());
    marker->ObjectName = "Source0";
    auto sphere = antenna->AddD3DXMesh(CreateSphereMesh(0.025f, 8, 8));
    sphere->Name = "Sphere";

    EXPECT_EQ(root->GetChildFrameCount(), 2);
    EXPECT_EQ(root->GetChildFrame(1), antenna);
    EXPECT_EQ(root->GetChildFrame(2), nullptr);
    EXPECT_EQ(root->FindChildObject("Source0"), marker.get());
    EXPECT_EQ(root->FindChildObject("Root"), nullptr);
    EXPECT_EQ(root->FindChildParent("Source0"), antenna.get());
    EXPECT_EQ(root->FindChildParent("Sphere"), antenna.get());
    EXPECT_EQ(root->FindChildMesh("Sphere"), sphere.get());
    EXPECT_EQ(root->FindChildParent("Nothing"), nullptr);

    EXPECT_FALSE(marker->AddChild(root));
    EXPECT_FALSE(root->AddChild(root));
    EXPECT_FALSE(root->AddChild(nullptr));
    EXPECT_EQ(marker->GetChildFrameCount(), 0);

    antenna->Destroy();
    EXPECT_EQ(antenna->GetChildFrameCount(), 0);
    EXPECT_EQ(antenna->GetChildMeshCount(), 0);
    EXPECT_EQ(root->FindChildObject("Source0"), nullptr);
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

TEST_F(FrameRendering, OpaqueSubsetsComeFirstThenTranslucentOnesWithBlending) {
    root->Render(scene);
    ASSERT_EQ(renderer.draws.size(), 2U);
    EXPECT_EQ(renderer.draws[0].mesh, &surface->GetMeshData());
    EXPECT_FALSE(renderer.draws[0].blending);
    EXPECT_FLOAT_EQ(renderer.draws[0].material.Diffuse.b, 240 / 255.0f);
    EXPECT_EQ(renderer.draws[1].mesh, &plate->GetMeshData());
    EXPECT_TRUE(renderer.draws[1].blending);
    EXPECT_FLOAT_EQ(renderer.draws[1].material.Diffuse.a, 64 / 255.0f);
    EXPECT_EQ(renderer.blendingChanges, (std::vector<bool>{true, false}));
}

TEST_F(FrameRendering, EachMeshIsDrawnWithItsFramesMatrixTimesTheWorldAndTheWorldIsRestored) {
    renderer.world = MatrixTranslation(0, -1, 0);
    root->Render(scene);
    ASSERT_EQ(renderer.draws.size(), 2U);
    // The pattern frame's origin: (0, 0, 1), turned to (1, 0, 0), then the world's move down.
    ExpectNear(Vec3TransformCoord({0, 0, 0}, renderer.draws[0].world), {1, -1, 0});
    ExpectMatrixNear(renderer.world, MatrixTranslation(0, -1, 0));
}

TEST_F(FrameRendering, UpdatedMatricesCanStandInForTheWalkDown) {
    root->UpdateFrames(MatrixTranslation(0, 3, 0));
    root->Render(scene, true);
    ExpectNear(Vec3TransformCoord({0, 0, 0}, renderer.draws[0].world), {1, 3, 0});
}

TEST_F(FrameRendering, DisabledFramesAreSkippedWithTheirChildren) {
    ground->Enabled = false;
    root->Render(scene);
    ASSERT_EQ(renderer.draws.size(), 1U);
    EXPECT_EQ(renderer.draws[0].mesh, &surface->GetMeshData());
    root->Enabled = false;
    renderer.draws.clear();
    root->Render(scene);
    EXPECT_TRUE(renderer.draws.empty());
}

TEST_F(FrameRendering, MeshesBehindAClipPlaneAreNotDrawn) {
    // Keep what lies at x >= 0.5; the pattern sphere of radius 1 sits around (1, 0, 0).
    scene.ClipPlanes = {{1, 0, 0, -0.5f}};
    root->Render(scene);
    EXPECT_EQ(renderer.draws.size(), 2U);
    scene.ClipPlanes = {{1, 0, 0, -2.5f}};
    renderer.draws.clear();
    root->Render(scene);
    // The plate reaches x = 1 only: both are now behind the plane.
    EXPECT_TRUE(renderer.draws.empty());
}

TEST_F(FrameRendering, CallbacksRunAroundTheFramesOwnMeshesInBothPasses) {
    std::vector<std::string> calls;
    pattern->SetPreRenderCallback([&](CD3DFrame&, Renderer& r) {
        calls.push_back("pre");
        EXPECT_EQ(&r, &renderer);
    });
    pattern->SetPostRenderCallback([&](CD3DFrame&, Renderer&) { calls.push_back("post"); });
    root->Render(scene);
    EXPECT_EQ(calls, (std::vector<std::string>{"pre", "post", "pre", "post"}));
}

TEST_F(FrameRendering, NothingIsDrawnWithoutADevice) {
    scene.renderer = nullptr;
    root->Render(scene);
    EXPECT_TRUE(renderer.draws.empty());
}

TEST_F(FrameRendering, MeshOperationsReachEveryMeshOfTheSubtree) {
    surface->GetMeshData().DeviceData = std::make_shared<int>(1);
    root->InvalidateDeviceObjects();
    EXPECT_EQ(surface->GetMeshData().DeviceData, nullptr);
    const Vector3 before = surface->GetMeshData().Vertices[0].Normal;
    root->FlipNormals();
    ExpectNear(surface->GetMeshData().Vertices[0].Normal, before * -1.0f);
    root->SetFVF(kFvfPositionNormalTexture);
    EXPECT_EQ(plate->GetMeshData().VertexFormat, 0x112U);
    EXPECT_EQ(surface->GetMeshData().VertexFormat, 0x112U);
}

} // namespace
} // namespace lobex
