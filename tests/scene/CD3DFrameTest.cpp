#include "scene/CD3DFrame.h"
#include "SceneTestSupport.h"
#include "scene/XFile.h"

#include <gtest/gtest.h>

#include <numbers>

namespace lobex {
namespace {

using test::ExpectMatrixNear;
using test::ExpectNear;
using test::RecordingRenderer;
using test::TestDataFile;

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2.0f;

Vector3 Origin(const Matrix& matrix) {
    return Vec3TransformCoord({0, 0, 0}, matrix);
}

// frames.x: frame Body (moved to (1, 2, 3)) holding frame Arm (turned a quarter about y, moved
// to (0, 0, 5)) with a mesh of a quadrilateral and a triangle in two materials, and a second
// top-level frame Base (scaled by 2) with a bare triangle.
class FramesFile : public ::testing::Test {
protected:
    FramesFile() {
        media.Write("checker_t.bmp", "image");
        scene.renderer = &renderer;
        scene.MediaFolder = media.Path().string();
    }
    std::string MediaFile(const char* name) const { return (media.Path() / name).string(); }

    test::TempFolder media;
    RecordingRenderer renderer;
    SceneContext scene;
    std::shared_ptr<CD3DFrame> root = CreateFrame();
};

// The scene of the 3D view in small: a turned root, a translucent ground plate and a pattern.
class FrameRendering : public FramesFile {
protected:
    FrameRendering() {
        root->SetOrientation(QuaternionRotationAxis({0, 1, 0}, kQuarterTurn));
        ground = CreateFrame(root.get());
        plate = ground->AddD3DXMesh(CreateBoxMesh(2.0f, 0.005f, 2.0f));
        plate->SetMaterialOverride(MaterialFromColor(ColorValueFromPacked(0x40C0C0C0U)));
        pattern = CreateFrame(root.get());
        pattern->SetPosition({0, 0, 1});
        surface = pattern->AddD3DXMesh(CreateSphereMesh(1.0f, 8, 8));
        surface->SetMaterial(0, MaterialFromColor(ColorValueFromPacked(0xFF4040F0U)));
    }

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

TEST_F(FramesFile, TopLevelFramesBecomeChildFramesWithTheFilesMatrices) {
    // Looked for in the media folder too; joined to the parent given.
    media.Write("copy.x", test::ReadBytes(TestDataFile("frames.x")));
    auto loaded = CreateFrame();
    ASSERT_TRUE(loaded->InitFromFile(scene, "copy.x", root.get()));
    EXPECT_EQ(root->GetChildFrame(0), loaded);
    ASSERT_EQ(loaded->GetChildFrameCount(), 2);
    EXPECT_EQ(loaded->GetChildFrame(0)->ObjectName, "Body");
    ExpectMatrixNear(loaded->GetChildFrame(0)->GetMatrix(), MatrixTranslation(1, 2, 3));
    ExpectMatrixNear(loaded->GetChildFrame(1)->GetMatrix(), MatrixScaling(2, 2, 2));
    // As written in the file: no handedness flip on the way in.
    CD3DFrame* arm = root->FindChildObject("Arm");
    ASSERT_NE(arm, nullptr);
    Matrix turnedAndMoved;
    turnedAndMoved.m = {{{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 5, 1}}};
    ExpectMatrixNear(arm->GetMatrix(), turnedAndMoved);
    EXPECT_EQ(root->FindChildParent("Arm"), loaded->GetChildFrame(0).get());
}

TEST_F(FramesFile, MeshesKeepTheFilesPositionsWindingNormalsAndTextureCoordinates) {
    ASSERT_TRUE(root->InitFromFile(scene, TestDataFile("frames.x")));
    const MeshData& mesh = root->FindChildObject("Arm")->GetChildMesh(0)->GetMeshData();
    // The quadrilateral splits into a fan around its first corner, in the file's order.
    ASSERT_EQ(mesh.FaceCount(), 3U);
    auto corner = [&](std::size_t i) {
        return mesh.Vertices[mesh.Indices[i]];
    };
    const Vector3 positions[] = {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0},
                                 {1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
    for (std::size_t i = 0; i < 9; ++i) {
        ExpectNear(corner(i).Position, positions[i]);
    }
    ExpectNear(corner(0).Normal, {0, 0, -1});
    ExpectNear(corner(8).Normal, {0, -1, 0});
    EXPECT_FLOAT_EQ(corner(8).Tv, 0.75f);
    EXPECT_EQ(mesh.Attributes, (std::vector<std::uint32_t>{0, 0, 1}));
}

TEST_F(FramesFile, MaterialsKeepTheirAlphaUnlessForcedOpaqueAndTexturesAreLoaded) {
    ASSERT_TRUE(root->InitFromFile(scene, TestDataFile("frames.x")));
    const auto mesh = root->FindChildObject("Arm")->GetChildMesh(0);
    ASSERT_EQ(mesh->GetMaterialCount(), 2);
    EXPECT_EQ(mesh->GetMaterial(0).Diffuse, (ColorValue{1, 0, 0, 1}));
    EXPECT_FLOAT_EQ(mesh->GetMaterial(1).Diffuse.a, 0.5f);
    const auto* texture =
        dynamic_cast<const test::RecordedTexture*>(mesh->GetMaterialTexture(0).get());
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->path, MediaFile("checker_t.bmp"));
    EXPECT_EQ(mesh->GetMaterialTexture(1), nullptr);
    // The glass subset is drawn in the blended pass.
    root->Render(scene);
    EXPECT_TRUE(renderer.draws.back().blending);
    EXPECT_EQ(renderer.draws.back().subset, 1U);

    scene.ForceOpaqueMaterials = true;
    auto opaque = CreateFrame();
    ASSERT_TRUE(opaque->InitFromFile(scene, TestDataFile("frames.x")));
    EXPECT_FLOAT_EQ(opaque->FindChildObject("Arm")->GetChildMesh(0)->GetMaterial(1).Diffuse.a,
                    1.0f);
    EXPECT_EQ(renderer.texturesCreated, 1); // the second time from the cache
}

TEST_F(FramesFile, AFileThatCannotBeReadChangesNothing) {
    auto existing = CreateFrame(root.get());
    CD3DMesh mesh;
    ASSERT_TRUE(mesh.InitFromFile(scene, TestDataFile("frames.x")));
    for (const std::string& path :
         {MediaFile("missing.x"),
          media.Write("broken.x", "xof 0303txt 0032\r\nFrame { Mesh { 3; 0;0;"),
          media.Write("not-x.x", "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi)\r\n")}) {
        EXPECT_FALSE(root->InitFromFile(scene, path)) << path;
        EXPECT_FALSE(mesh.InitFromFile(scene, path)) << path;
        EXPECT_FALSE(LoadMeshFromFile(scene, path)->HasGeometry()) << path;
    }
    EXPECT_EQ(root->GetChildFrameCount(), 1);
    EXPECT_EQ(root->GetChildFrame(0), existing);
    EXPECT_EQ(mesh.GetMeshData().FaceCount(), 4U);
}

} // namespace
} // namespace lobex
