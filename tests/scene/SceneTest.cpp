#include "SceneTestSupport.h"
#include "scene/CD3DFrame.h"
#include "scene/D3DMath.h"
#include "scene/FrameClock.h"
#include "scene/MeshData.h"
#include "scene/XFile.h"
#include "scene/XFileBudget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

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

TEST_F(FramesFile, OpaqueSubsetsComeFirstThenTranslucentOnesAndHiddenOnesNotAtAll) {
    // The scene of the 3D view in small: a turned root, a translucent ground plate and a pattern.
    root->SetOrientation(QuaternionRotationAxis({0, 1, 0}, std::numbers::pi_v<float> / 2));
    const auto ground = CreateFrame(root.get());
    ground->AddD3DXMesh(CreateBoxMesh(2.0f, 0.005f, 2.0f))
        ->SetMaterialOverride(MaterialFromColor(ColorValueFromPacked(0x40C0C0C0U)));
    const auto pattern = CreateFrame(root.get());
    pattern->SetPosition({0, 0, 1});
    const auto surface = pattern->AddD3DXMesh(CreateSphereMesh(1.0f, 8, 8));
    surface->SetMaterial(0, MaterialFromColor(ColorValueFromPacked(0xFF4040F0U)));
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
    ExpectNear(Vec3TransformCoord({}, renderer.draws[0].world), {1, -1, 0});
    ExpectMatrixNear(renderer.world, MatrixTranslation(0, -1, 0));
    EXPECT_EQ(calls, (std::vector<std::string>{"pre", "post", "pre", "post"})); // both passes

    // The matrices of UpdateFrames can stand in for the walk down the tree.
    renderer.draws.clear();
    root->UpdateFrames(MatrixTranslation(0, 3, 0));
    root->Render(scene, true);
    ExpectNear(Vec3TransformCoord({}, renderer.draws.at(0).world), {1, 3, 0});
    // Disabled frames, clipped meshes and a missing device draw nothing.
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

// Meshes keep the file's winding and texture coordinates; materials their alpha unless forced.
TEST_F(FramesFile, FramesMeshesAndMaterialsAreReadAsTheFileHasThem) {
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

    const auto armMesh = arm->GetChildMesh(0);
    const MeshData& mesh = armMesh->GetMeshData();
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

    ASSERT_EQ(armMesh->GetMaterialCount(), 2);
    EXPECT_EQ(armMesh->GetMaterial(0).Diffuse, (ColorValue{1, 0, 0, 1}));
    EXPECT_FLOAT_EQ(armMesh->GetMaterial(1).Diffuse.a, 0.5f);
    const auto* texture =
        dynamic_cast<const test::RecordedTexture*>(armMesh->GetMaterialTexture(0).get());
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->path, MediaFile("checker_t.bmp"));
    EXPECT_EQ(armMesh->GetMaterialTexture(1), nullptr);
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

const std::string kHeader = "xof 0303txt 0032\r\n";
const std::string kTriangle = " 3;\r\n 0;0;0;,\r\n 1;0;0;,\r\n 0;1;0;;\r\n 1;\r\n 3;0,1,2;;\r\n";

std::string Little16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}
std::string Little32(std::uint32_t value) {
    return Little16(static_cast<std::uint16_t>(value & 0xFFFF)) +
           Little16(static_cast<std::uint16_t>(value >> 16));
}

// The text file of one triangle mesh with its further parts.
std::string TriangleWith(const std::string& parts) {
    return kHeader + "Mesh {\r\n" + kTriangle + parts + "}\r\n";
}

// The binary file of one mesh whose first list follows.
const std::string kBinaryMesh =
    "xof 0303bin 0032" + Little16(1) + Little32(4) + "Mesh" + Little16(10) + Little16(6);

std::string Nested(int depth) {
    std::string frames;
    for (int i = 0; i < depth; ++i) {
        frames = "Frame {\r\n" + frames + "}\r\n";
    }
    return kHeader + frames;
}

// Small files that make the general reader fault or allocate gigabytes: each is refused with
// a reason before the reader sees it.
TEST(XFileBudget, CraftedCountsAndIndicesAreRefusedBeforeTheGeneralReaderAndTrueOnesRead) {
    // What the file is, its bytes, a part of the error.
    const std::tuple<const char*, std::string, const char*> cases[] = {
        // The general reader read outside its normal list and died of it (SIGSEGV).
        {"a normal face beyond the normals",
         TriangleWith(" MeshNormals {\r\n 1;\r\n 0;0;1;;\r\n 1;\r\n 3;0,0,900000000;;\r\n }\r\n"),
         "index beyond the vertex list"},
        // 52 bytes that had it allocate 2.3 GB.
        {"two hundred million vertices in a few bytes",
         kHeader + "Mesh {\r\n 200000000;\r\n 0;0;0;;\r\n 0;;\r\n}\r\n", "fewer vertices"},
        {"a face beyond the vertices",
         kHeader +
             "Mesh {\r\n 3;\r\n 0;0;0;,\r\n 1;0;0;,\r\n 0;1;0;;\r\n 1;\r\n 3;0,1,3;;\r\n}\r\n",
         "index beyond the vertex list"},
        {"normal faces with fewer corners than the mesh's",
         TriangleWith(" MeshNormals {\r\n 1;\r\n 0;0;1;;\r\n 1;\r\n 2;0,0;;\r\n }\r\n"),
         "other faces than their mesh"},
        {"texture coordinates for fewer vertices",
         TriangleWith(" MeshTextureCoords {\r\n 1;\r\n 0;0;;\r\n }\r\n"),
         "texture coordinates for other vertices"},
        {"vertex colours of a vertex beyond the mesh",
         TriangleWith(" MeshVertexColors {\r\n 1;\r\n 7;1;1;1;1;;\r\n }\r\n"),
         "index beyond the vertex list"},
        {"material indices for more faces",
         TriangleWith(" MeshMaterialList {\r\n 1;\r\n 2;\r\n 0,0;;\r\n }\r\n"),
         "material indices for other faces"},
        {"a billion animation keys",
         kHeader + "AnimationSet {\r\n Animation {\r\n  AnimationKey {\r\n 2;\r\n 1000000000;\r\n"
                   " 0;3;0,0,0;;,\r\n }\r\n }\r\n}\r\n",
         "fewer key"},
        {"a mesh cut short", kHeader + "Frame { Mesh { 3; 0;0;", "fewer vertices"},
        {"four million corners in one face",
         kHeader + "Mesh {\r\n 1;\r\n 0;0;0;;\r\n 1;\r\n 4000001;0;;\r\n}\r\n",
         "too many face corners"},
        {"frames nested a thousand deep", Nested(1000), "nested too deep"},
        {"a binary list longer than the file", kBinaryMesh + Little32(100000000) + Little32(3),
         "the file ends inside a list"},
        {"a binary mesh of more vertices than its list holds",
         kBinaryMesh + Little32(1) + Little32(50000000) + Little16(7) + Little32(3) +
             std::string(12, '\0') + Little16(11),
         "fewer vertices"},
        {"a compressed file", "xof 0303tzip0032" + std::string(40, 'z'), "compressed"},
        {"a file larger than a model gets", kHeader + std::string(kLargestXFile, ' '), "too large"},
    };
    for (const auto& [what, bytes, reason] : cases) {
        SCOPED_TRACE(what);
        std::string error;
        EXPECT_FALSE(CheckXFileBudget(bytes, error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        XFileContent content;
        std::string importError;
        EXPECT_FALSE(ImportXFile(bytes, content, importError));
        EXPECT_EQ(importError, error);
        EXPECT_FALSE(ReadXFileFromMemory(bytes, content, importError));
    }
    // Files within their counts still reach the general reader: the fixtures, and the same shapes
    // as above with consistent counts.
    const std::string files[] = {
        test::ReadBytes(test::TestDataFile("frames.x")),
        test::ReadBytes(test::TestDataFile("animation.x")),
        TriangleWith(" MeshNormals {\r\n 1;\r\n 0;0;1;;\r\n 1;\r\n 3;0,0,0;;\r\n }\r\n"
                     " MeshTextureCoords {\r\n 3;\r\n 0;0;,\r\n 1;0;,\r\n 0;1;;\r\n }\r\n"
                     " MeshMaterialList {\r\n 1;\r\n 1;\r\n 0;;\r\n Material {\r\n 1;0;0;1;;\r\n"
                     " 0;\r\n 0;0;0;;\r\n 0;0;0;;\r\n }\r\n }\r\n"),
        kBinaryMesh + Little32(1) + Little32(3) + Little16(7) + Little32(9) +
            std::string(36, '\0') + Little16(6) + Little32(5) + Little32(1) + Little32(3) +
            Little32(0) + Little32(1) + Little32(2) + Little16(11),
        Nested(kDeepestXNesting),
    };
    for (const std::string& bytes : files) {
        std::string why;
        XFileContent read;
        EXPECT_TRUE(ImportXFile(bytes, read, why)) << why << "\n" << bytes.substr(0, 200);
    }
}

// Clockwise as seen from outside is what Direct3D draws as the front; each vertex normal points
// away from the centre too.
void ExpectFacesOutward(const MeshData& mesh) {
    for (std::size_t face = 0; face < mesh.FaceCount(); ++face) {
        const Vector3 a = mesh.Vertices[mesh.Indices[face * 3]].Position;
        const Vector3 b = mesh.Vertices[mesh.Indices[face * 3 + 1]].Position;
        const Vector3 c = mesh.Vertices[mesh.Indices[face * 3 + 2]].Position;
        EXPECT_GT(Vec3Dot(Vec3Cross(b - a, c - a), a + b + c), 0.0f) << "face " << face;
    }
    for (const MeshVertex& vertex : mesh.Vertices) {
        EXPECT_NEAR(Vec3Length(vertex.Normal), 1.0f, 1e-6f);
        EXPECT_GT(Vec3Dot(vertex.Normal, vertex.Position), 0.0f);
    }
}

TEST(MeshData, TheGroundPlateAndTheMarkerSphereFaceOutwardAroundTheOrigin) {
    const MeshData box = CreateBoxMesh(2.0f, 0.005f, 2.0f);
    EXPECT_EQ(box.FaceCount(), 12U);
    ExpectNear(ComputeBoundingBox(box).Max, {1.0f, 0.0025f, 1.0f});
    ExpectFacesOutward(box);

    const MeshData sphere = CreateSphereMesh(0.025f, 8, 8);
    EXPECT_EQ(sphere.FaceCount(), 2U * 8U * 7U);
    for (const MeshVertex& vertex : sphere.Vertices) {
        EXPECT_NEAR(Vec3Length(vertex.Position), 0.025f, 1e-6f);
        ExpectNear(vertex.Normal, vertex.Position / 0.025f);
    }
    ExpectFacesOutward(sphere);
    EXPECT_NEAR(ComputeBoundingSphere(sphere).Radius, 0.025f, 1e-6f);
}

TEST(MeshData, WeldingJoinsOnlyBitwiseIdenticalVerticesAndTheWireFrameEachEdgeOnce) {
    MeshVertex a;
    a.Position = {1, 2, 3};
    a.Normal = {0, 1, 0};
    MeshVertex otherNormal = a;
    otherNormal.Normal = {1, 0, 0};
    MeshVertex negativeZero = a;
    negativeZero.Normal.x = -0.0f;
    MeshData mesh;
    mesh.Vertices = {a, otherNormal, a, negativeZero, a, otherNormal};
    mesh.Indices = {0, 1, 2, 3, 4, 5};
    mesh.Attributes = {0, 0};
    WeldIdenticalVertices(mesh);
    ASSERT_EQ(mesh.Vertices.size(), 3U);
    EXPECT_EQ(mesh.Indices, (std::vector<std::uint32_t>{0, 1, 0, 2, 0, 1}));
    EXPECT_TRUE(std::signbit(mesh.Vertices[2].Normal.x));
    // The wire frame has each edge of the triangles once.
    using Edges = std::vector<std::uint32_t>;
    // A quad as two triangles: the diagonal they share is drawn once.
    EXPECT_EQ(TriangleEdges(Edges{0, 1, 2, 2, 1, 3}), (Edges{0, 1, 0, 2, 1, 2, 1, 3, 2, 3}));
    // A triangle folded onto its pole draws only its real edge; a trailing part triangle is no
    // triangle.
    EXPECT_EQ(TriangleEdges(Edges{4, 4, 5, 7, 8}), (Edges{4, 5}));
    EXPECT_TRUE(TriangleEdges({}).empty());
}

TEST(D3DMath, InverseUndoesATransformationAndRefusesASingularOne) {
    const Matrix m = MatrixAffineTransformation(
        2.0f, {1, 0, 0}, QuaternionRotationAxis({1, 1, 0}, 0.4f), {3, -1, 5});
    Matrix inverse;
    ASSERT_TRUE(MatrixInverse(m, inverse));
    ExpectMatrixNear(m * inverse, MatrixIdentity());
    Matrix untouched = MatrixTranslation(1, 1, 1);
    EXPECT_FALSE(MatrixInverse(MatrixScaling(1, 0, 1), untouched));
    EXPECT_EQ(untouched, MatrixTranslation(1, 1, 1));
}

// Runs the commands at the given times of a clock whose time the test sets: each step is the
// time, the command and what the clock gives.
void ExpectSteps(const std::vector<std::tuple<float, int, float>>& steps) {
    float now = 0.0f;
    FrameClock clock([&now] { return now; });
    for (const auto& [time, command, expected] : steps) {
        now = time;
        EXPECT_NEAR(clock(command), expected, 1e-4f) << "command " << command << " at " << time;
    }
}

TEST(FrameClock, EachCommandMovesTheBaseAndTheStopTimeAsTheTimerDid) {
    // Times are multiples of 1/8 so that every result is exact in single precision.
    ExpectSteps({
        {100.0f, kClockReset, 0.0f},         // base 100
        {101.5f, kClockAppTime, 1.5f},       // since the base
        {102.0f, kClockElapsedTime, 102.0f}, // last query was 0
        {102.5f, kClockElapsedTime, 0.5f},
        {103.0f, kClockStop, 103.0f},   // stop 103
        {110.0f, kClockAppTime, 10.0f}, // application time keeps running while stopped
        {110.0f, kClockStart, 110.0f},  // base 100 + 110 - 103 = 107; last query 102.5 + 7
        {111.0f, kClockAppTime, 4.0f},
        {111.0f, kClockElapsedTime, 1.5f}, // 111 - 109.5: the stopped time is skipped
        {112.0f, 5, 112.0f},               // no such command: the time itself
    });
    // Passing midnight resets whatever the command.
    ExpectSteps({
        {86390.0f, kClockReset, 0.0f},
        {86390.0f, kClockElapsedTime, 86390.0f},
        {5.0f, kClockElapsedTime, 0.0f}, // the next day
        {7.0f, kClockAppTime, 2.0f},
        {7.0f, kClockElapsedTime, 7.0f},
    });
}

} // namespace
} // namespace lobex
