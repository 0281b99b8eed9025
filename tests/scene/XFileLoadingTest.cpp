#include "SceneTestSupport.h"
#include "scene/CD3DFrame.h"
#include "scene/XFile.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::ExpectMatrixNear;
using test::ExpectNear;
using test::TestDataFile;

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
    test::RecordingRenderer renderer;
    SceneContext scene;
    std::shared_ptr<CD3DFrame> root = CreateFrame();
};

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
    ExpectMatrixNear(arm->GetMatrix(),
                     test::Rows({{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 5, 1}}));
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
