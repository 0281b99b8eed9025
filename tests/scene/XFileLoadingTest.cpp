#include "SceneTestSupport.h"
#include "scene/CD3DAnimation.h"
#include "scene/CD3DFrame.h"
#include "scene/XFile.h"

#include <gtest/gtest.h>

#include <numbers>

namespace lobex {
namespace {

using test::ExpectMatrixNear;
using test::ExpectNear;
using test::RecordedTexture;
using test::RecordingRenderer;
using test::TemporaryFolder;
using test::TestDataFile;

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2.0f;

// frames.x: frame Body (moved to (1, 2, 3)) holding frame Arm (turned a quarter about y, moved
// to (0, 0, 5)) with a mesh of a quadrilateral and a triangle in two materials, and a second
// top-level frame Base (scaled by 2) with a bare triangle.
class FramesFile : public ::testing::Test {
protected:
    FramesFile() {
        test::WriteText(media.File("checker_t.bmp"), "image");
        scene.renderer = &renderer;
        scene.MediaFolder = media.Path().string();
    }

    TemporaryFolder media;
    RecordingRenderer renderer;
    SceneContext scene;
    std::shared_ptr<CD3DFrame> root = CreateFrame();
};

TEST_F(FramesFile, TopLevelFramesBecomeChildFramesWithTheFilesMatrices) {
    ASSERT_TRUE(root->InitFromFile(scene, TestDataFile("frames.x")));
    ASSERT_EQ(root->GetChildFrameCount(), 2);
    const auto body = root->GetChildFrame(0);
    const auto base = root->GetChildFrame(1);
    EXPECT_EQ(body->ObjectName, "Body");
    EXPECT_EQ(base->ObjectName, "Base");
    ExpectMatrixNear(body->GetMatrix(), MatrixTranslation(1, 2, 3));
    ExpectMatrixNear(base->GetMatrix(), MatrixScaling(2, 2, 2));
    CD3DFrame* arm = root->FindChildObject("Arm");
    ASSERT_NE(arm, nullptr);
    // As written in the file: no handedness flip on the way in.
    const float armMatrix[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 5, 1}};
    ExpectMatrixNear(arm->GetMatrix(), armMatrix);
    ExpectMatrixNear(arm->GetMatrix(),
                     MatrixRotationAxis({0, 1, 0}, kQuarterTurn) * MatrixTranslation(0, 0, 5));
    EXPECT_EQ(root->FindChildParent("Arm"), body.get());
}

TEST_F(FramesFile, MeshesKeepTheFilesPositionsWindingNormalsAndTextureCoordinates) {
    ASSERT_TRUE(root->InitFromFile(scene, TestDataFile("frames.x")));
    CD3DFrame* arm = root->FindChildObject("Arm");
    ASSERT_EQ(arm->GetChildMeshCount(), 1);
    const MeshData& mesh = arm->GetChildMesh(0)->GetMeshData();
    // The quadrilateral splits into a fan around its first corner, in the file's order.
    ASSERT_EQ(mesh.FaceCount(), 3U);
    auto corner = [&](std::size_t i) {
        return mesh.Vertices[mesh.Indices[i]];
    };
    ExpectNear(corner(0).Position, {0, 0, 0});
    ExpectNear(corner(1).Position, {0, 1, 0});
    ExpectNear(corner(2).Position, {1, 1, 0});
    ExpectNear(corner(5).Position, {1, 0, 0});
    ExpectNear(corner(8).Position, {0, 0, 1});
    ExpectNear(corner(0).Normal, {0, 0, -1});
    ExpectNear(corner(8).Normal, {0, -1, 0});
    EXPECT_FLOAT_EQ(corner(8).Tu, 0.25f);
    EXPECT_FLOAT_EQ(corner(8).Tv, 0.75f);
    EXPECT_EQ(mesh.Attributes, (std::vector<std::uint32_t>{0, 0, 1}));
    EXPECT_EQ(mesh.VertexFormat, kFvfXyz | kFvfNormal | kFvfTex1);
    // Four corners of the quadrilateral plus three of the triangle, whose normal differs.
    EXPECT_EQ(mesh.Vertices.size(), 7U);
}

TEST_F(FramesFile, MaterialsKeepTheirAlphaUnlessForcedOpaqueAndTexturesAreLoaded) {
    ASSERT_TRUE(root->InitFromFile(scene, TestDataFile("frames.x")));
    const auto mesh = root->FindChildObject("Arm")->GetChildMesh(0);
    ASSERT_EQ(mesh->GetMaterialCount(), 2);
    const Material red = mesh->GetMaterial(0);
    EXPECT_EQ(red.Diffuse, (ColorValue{1, 0, 0, 1}));
    EXPECT_EQ(red.Ambient, red.Diffuse);
    EXPECT_FLOAT_EQ(red.Power, 5.0f);
    EXPECT_FLOAT_EQ(mesh->GetMaterial(1).Diffuse.a, 0.5f);
    const auto* texture = dynamic_cast<const RecordedTexture*>(mesh->GetMaterialTexture(0).get());
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->path, media.File("checker_t.bmp"));
    EXPECT_EQ(mesh->GetMaterialTexture(1), nullptr);

    // The glass subset is drawn in the blended pass.
    root->Render(scene);
    ASSERT_GE(renderer.draws.size(), 2U);
    EXPECT_TRUE(renderer.draws.back().blending);
    EXPECT_EQ(renderer.draws.back().subset, 1U);

    scene.ForceOpaqueMaterials = true;
    auto opaque = CreateFrame();
    ASSERT_TRUE(opaque->InitFromFile(scene, TestDataFile("frames.x")));
    EXPECT_FLOAT_EQ(opaque->FindChildObject("Arm")->GetChildMesh(0)->GetMaterial(1).Diffuse.a,
                    1.0f);
    // The texture came from the cache the second time.
    EXPECT_EQ(renderer.texturesCreated, 1);
}

TEST_F(FramesFile, TheLoadedFrameJoinsTheParentItIsGiven) {
    auto parent = CreateFrame();
    auto loaded = CreateFrame();
    ASSERT_TRUE(loaded->InitFromFile(scene, TestDataFile("frames.x"), parent.get()));
    EXPECT_EQ(parent->GetChildFrame(0), loaded);
}

TEST_F(FramesFile, FilesAreLookedForInTheMediaFolderToo) {
    test::WriteText(media.File("copy.x"), test::ReadBytes(TestDataFile("frames.x")));
    ASSERT_TRUE(root->InitFromFile(scene, "copy.x"));
    EXPECT_EQ(root->GetChildFrameCount(), 2);
}

TEST_F(FramesFile, AFileThatCannotBeReadChangesNothing) {
    auto existing = CreateFrame(root.get());
    EXPECT_FALSE(root->InitFromFile(scene, media.File("missing.x")));
    test::WriteText(media.File("broken.x"), "xof 0303txt 0032\r\nFrame { Mesh { 3; 0;0;");
    EXPECT_FALSE(root->InitFromFile(scene, media.File("broken.x")));
    test::WriteText(media.File("not-x.x"), "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi)\r\n");
    EXPECT_FALSE(root->InitFromFile(scene, media.File("not-x.x")));
    EXPECT_EQ(root->GetChildFrameCount(), 1);
    EXPECT_EQ(root->GetChildFrame(0), existing);
}

TEST_F(FramesFile, AMeshLoadedOnItsOwnJoinsEveryMeshWhereItsFramesPutIt) {
    CD3DMesh mesh;
    ASSERT_TRUE(mesh.InitFromFile(scene, TestDataFile("frames.x")));
    EXPECT_EQ(mesh.GetMaterialCount(), 3);
    EXPECT_EQ(mesh.GetMeshData().FaceCount(), 4U);
    // The arm's (1, 1, 0): turned to (0, 1, -1), moved by (0, 0, 5) and then by (1, 2, 3).
    const MeshData& data = mesh.GetMeshData();
    ExpectNear(data.Vertices[data.Indices[2]].Position, {1, 3, 7});
    // The base's (1, 0, 0) doubled.
    ExpectNear(data.Vertices[data.Indices[11]].Position, {2, 0, 0});
    EXPECT_FALSE(mesh.InitFromFile(scene, media.File("missing.x")));
    EXPECT_EQ(mesh.GetMeshData().FaceCount(), 4U);
    EXPECT_FALSE(LoadMeshFromFile(scene, media.File("missing.x"))->HasGeometry());
}

TEST_F(FramesFile, MeshesOutsideAnyFrameAreAttachedToTheLoadingFrame) {
    test::WriteText(media.File("loose.x"), "xof 0303txt 0032\r\n"
                                           "Mesh Loose {\r\n"
                                           " 3;\r\n"
                                           " 0;0;0;,\r\n"
                                           " 0;1;0;,\r\n"
                                           " 1;0;0;;\r\n"
                                           " 1;\r\n"
                                           " 3;0,1,2;;\r\n"
                                           "}\r\n");
    ASSERT_TRUE(root->InitFromFile(scene, media.File("loose.x")));
    EXPECT_EQ(root->GetChildFrameCount(), 0);
    ASSERT_EQ(root->GetChildMeshCount(), 1);
    const MeshData& mesh = root->GetChildMesh(0)->GetMeshData();
    EXPECT_EQ(mesh.FaceCount(), 1U);
    ExpectNear(mesh.Vertices[mesh.Indices[1]].Position, {0, 1, 0});
    // Without materials in the file, the mesh gets one grey default.
    EXPECT_EQ(root->GetChildMesh(0)->GetMaterialCount(), 1);
}

// animation.x: frame Spinner with one animation set: position keys (0, 0, 0) at tick 0 and
// (10, 0, 0) at tick 100; rotate keys of no turn and of (w 0.7071, y 0.7071). Rotate keys of .x
// files hold the inverse rotation, so the second one turns the frame by -90 degrees about y.
TEST(XFileAnimation, AnimationSetsMoveTheirFramesBetweenKeys) {
    SceneContext scene;
    auto root = CreateFrame();
    CD3DAnimation animation;
    ASSERT_TRUE(root->InitFromFile(scene, TestDataFile("animation.x"), nullptr, &animation));
    ASSERT_EQ(animation.GetChildCount(), 1);
    const auto set = animation.GetChild(0);
    EXPECT_EQ(set->ObjectName, "Turn");
    ASSERT_EQ(set->GetChildCount(), 1);
    CD3DFrame* spinner = root->FindChildObject("Spinner");
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(set->GetChild(0)->GetFrame().get(), spinner);

    struct Case {
        double time;
        float angle;
        float x;
    };
    const Case cases[] = {
        {-10.0, 0.0f, 0.0f},             // before the first key
        {0.0, 0.0f, 0.0f},               //
        {50.0, -kQuarterTurn / 2, 5.0f}, // halfway
        {100.0, -kQuarterTurn, 10.0f},   //
        {250.0, -kQuarterTurn, 10.0f},   // after the last key
    };
    for (const Case& c : cases) {
        animation.SetTime(c.time);
        ExpectMatrixNear(spinner->GetMatrix(),
                         MatrixRotationAxis({0, 1, 0}, c.angle) * MatrixTranslation(c.x, 0, 0),
                         1e-5f);
    }
}

TEST(CD3DAnimation, KeysAddedOutOfOrderAreKeptInTimeOrderAndUnkeyedPartsStay) {
    auto frame = CreateFrame();
    frame->SetScale(3.0f);
    frame->SetPosition({0, 7, 0});
    CD3DAnimation animation;
    animation.SetFrame(frame);
    animation.AddRotateKey(10.0, QuaternionRotationAxis({0, 0, 1}, kQuarterTurn));
    animation.AddRotateKey(0.0, QuaternionIdentity());
    animation.SetTime(5.0);
    // Scale 3 and position (0, 7, 0) have no keys and keep their values.
    ExpectMatrixNear(frame->GetMatrix(), MatrixScaling(3, 3, 3) *
                                             MatrixRotationAxis({0, 0, 1}, kQuarterTurn / 2) *
                                             MatrixTranslation(0, 7, 0));
    animation.AddScaleKey(0.0, {1, 1, 1});
    animation.AddPositionKey(0.0, {0, 0, 0});
    animation.SetTime(10.0);
    ExpectMatrixNear(frame->GetMatrix(), MatrixRotationAxis({0, 0, 1}, kQuarterTurn));

    auto child = std::make_shared<CD3DAnimation>();
    auto other = CreateFrame();
    child->SetFrame(other);
    child->AddPositionKey(0.0, {0, 0, 0});
    child->AddPositionKey(2.0, {2, 0, 0});
    animation.AddChild(child);
    animation.SetTime(1.0);
    ExpectNear(other->TransformCoord({0, 0, 0}), {1, 0, 0});
    EXPECT_EQ(animation.GetChild(5), nullptr);
}

} // namespace
} // namespace lobex
