#include "scene/MeshData.h"
#include "SceneTestSupport.h"
#include "scene/CD3DMesh.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lobex {
namespace {

using test::ExpectNear;

Vector3 TriangleNormal(const MeshData& mesh, std::size_t face) {
    const Vector3 a = mesh.Vertices[mesh.Indices[face * 3]].Position;
    const Vector3 b = mesh.Vertices[mesh.Indices[face * 3 + 1]].Position;
    const Vector3 c = mesh.Vertices[mesh.Indices[face * 3 + 2]].Position;
    return Vec3Cross(b - a, c - a);
}

// Clockwise as seen from outside is what Direct3D draws as the front.
void ExpectFrontFacesOutward(const MeshData& mesh, Vector3 center) {
    for (std::size_t face = 0; face < mesh.FaceCount(); ++face) {
        const Vector3 middle = (mesh.Vertices[mesh.Indices[face * 3]].Position +
                                mesh.Vertices[mesh.Indices[face * 3 + 1]].Position +
                                mesh.Vertices[mesh.Indices[face * 3 + 2]].Position) /
                               3.0f;
        EXPECT_GT(Vec3Dot(TriangleNormal(mesh, face), middle - center), 0.0f) << "face " << face;
    }
}

TEST(MeshData, TheGroundPlateBoxHasSixFlatSidesAroundTheOrigin) {
    const MeshData box = CreateBoxMesh(2.0f, 0.005f, 2.0f);
    EXPECT_EQ(box.Vertices.size(), 24U);
    EXPECT_EQ(box.FaceCount(), 12U);
    const BoundingBox bounds = ComputeBoundingBox(box);
    ExpectNear(bounds.Min, {-1.0f, -0.0025f, -1.0f});
    ExpectNear(bounds.Max, {1.0f, 0.0025f, 1.0f});
    ExpectFrontFacesOutward(box, {0, 0, 0});
    for (const MeshVertex& vertex : box.Vertices) {
        EXPECT_FLOAT_EQ(Vec3Length(vertex.Normal), 1.0f);
        // A side's normal points the way its vertices lie from the centre.
        EXPECT_GT(Vec3Dot(vertex.Normal, vertex.Position), 0.0f);
    }
}

TEST(MeshData, TheMarkerSphereIsRoundAndFacesOutward) {
    const MeshData sphere = CreateSphereMesh(0.025f, 8, 8);
    EXPECT_EQ(sphere.Vertices.size(), 2U + 8U * 7U);
    EXPECT_EQ(sphere.FaceCount(), 2U * 8U * 7U);
    for (const MeshVertex& vertex : sphere.Vertices) {
        EXPECT_NEAR(Vec3Length(vertex.Position), 0.025f, 1e-6f);
        ExpectNear(vertex.Normal, vertex.Position / 0.025f);
    }
    ExpectFrontFacesOutward(sphere, {0, 0, 0});
    const BoundingSphere bounds = ComputeBoundingSphere(sphere);
    ExpectNear(bounds.Center, {0, 0, 0});
    EXPECT_NEAR(bounds.Radius, 0.025f, 1e-6f);
}

MeshData TwoTriangles() {
    MeshData mesh;
    for (Vector3 p : {Vector3{0, 0, 0}, Vector3{0, 1, 0}, Vector3{1, 1, 0}, Vector3{1, 0, 0}}) {
        MeshVertex vertex;
        vertex.Position = p;
        mesh.Vertices.push_back(vertex);
    }
    mesh.Indices = {0, 1, 2, 0, 2, 3};
    mesh.Attributes = {0, 0};
    mesh.VertexFormat = kFvfXyz;
    return mesh;
}

TEST(MeshData, ComputedNormalsPointAtTheViewerOfClockwiseFaces) {
    MeshData mesh = TwoTriangles();
    ComputeMeshNormals(mesh);
    for (const MeshVertex& vertex : mesh.Vertices) {
        ExpectNear(vertex.Normal, {0, 0, -1});
    }
    EXPECT_TRUE(mesh.VertexFormat & kFvfNormal);
    FlipMeshNormals(mesh);
    ExpectNear(mesh.Vertices[0].Normal, {0, 0, 1});
}

TEST(MeshData, WeldingJoinsOnlyBitwiseIdenticalVertices) {
    MeshData mesh;
    MeshVertex a;
    a.Position = {1, 2, 3};
    a.Normal = {0, 1, 0};
    MeshVertex sameSpotOtherNormal = a;
    sameSpotOtherNormal.Normal = {1, 0, 0};
    MeshVertex negativeZero = a;
    negativeZero.Position.x = 1.0f;
    negativeZero.Normal.x = -0.0f;
    mesh.Vertices = {a, sameSpotOtherNormal, a, negativeZero, a, sameSpotOtherNormal};
    mesh.Indices = {0, 1, 2, 3, 4, 5};
    mesh.Attributes = {0, 0};
    WeldIdenticalVertices(mesh);
    ASSERT_EQ(mesh.Vertices.size(), 3U);
    EXPECT_EQ(mesh.Indices, (std::vector<std::uint32_t>{0, 1, 0, 2, 0, 1}));
    EXPECT_EQ(mesh.Vertices[2].Normal.x, -0.0f);
    EXPECT_TRUE(std::signbit(mesh.Vertices[2].Normal.x));
}

TEST(MeshData, WeldingKeepsUpWithManyVertices) {
    // More vertices than the welder's first table holds, each added twice.
    std::vector<MeshVertex> unique;
    VertexWelder welder(unique);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 5000; ++i) {
            MeshVertex vertex;
            vertex.Position = {static_cast<float>(i), static_cast<float>(i % 7), 0.5f};
            EXPECT_EQ(welder.Add(vertex), static_cast<std::uint32_t>(i));
        }
    }
    EXPECT_EQ(unique.size(), 5000U);
}

TEST(MeshData, OptimizingGroupsEachSubsetAndDropsUnusedVertices) {
    MeshData mesh = TwoTriangles();
    MeshVertex stray;
    stray.Position = {9, 9, 9};
    mesh.Vertices.insert(mesh.Vertices.begin(), stray);
    mesh.Indices = {1, 2, 3, 1, 3, 4, 3, 2, 1};
    mesh.Attributes = {1, 0, 1};
    OptimizeMesh(mesh);
    EXPECT_EQ(mesh.Attributes, (std::vector<std::uint32_t>{0, 1, 1}));
    EXPECT_EQ(mesh.Vertices.size(), 4U);
    // The subset-0 triangle comes first; triangles keep their corner order.
    ExpectNear(mesh.Vertices[mesh.Indices[0]].Position, {0, 0, 0});
    ExpectNear(mesh.Vertices[mesh.Indices[1]].Position, {1, 1, 0});
    ExpectNear(mesh.Vertices[mesh.Indices[2]].Position, {1, 0, 0});
    ExpectNear(mesh.Vertices[mesh.Indices[6]].Position, {1, 1, 0});
    EXPECT_EQ(SubsetIds(mesh), (std::vector<std::uint32_t>{0, 1}));
}

TEST(MeshData, ChangingTheVertexFormatZeroesWhatItAddsAndForgetsTheDeviceCopy) {
    MeshData mesh = TwoTriangles();
    mesh.Vertices[0].Tu = 5.0f;
    mesh.DeviceData = std::make_shared<int>(1);
    ConvertVertexFormat(mesh, kFvfPositionNormalTexture);
    EXPECT_EQ(mesh.VertexFormat, 0x112U);
    EXPECT_EQ(mesh.Vertices[0].Tu, 0.0f);
    EXPECT_EQ(mesh.DeviceData, nullptr);
}

TEST(CD3DMesh, SetFVFComputesMissingNormalsButKeepsTheFilesOwn) {
    CD3DMesh bare;
    bare.InitFromD3DXMesh(TwoTriangles());
    bare.SetFVF(kFvfPositionNormalTexture);
    ExpectNear(bare.GetMeshData().Vertices[0].Normal, {0, 0, -1});

    MeshData withNormals = TwoTriangles();
    withNormals.VertexFormat |= kFvfNormal;
    for (MeshVertex& vertex : withNormals.Vertices) {
        vertex.Normal = {0.6f, 0.8f, 0.0f};
    }
    CD3DMesh kept;
    kept.InitFromD3DXMesh(withNormals);
    kept.SetFVF(kFvfPositionNormalTexture);
    ExpectNear(kept.GetMeshData().Vertices[2].Normal, {0.6f, 0.8f, 0.0f});
}

TEST(CD3DMesh, MaterialsAreCountedSetAndReadByIndex) {
    CD3DMesh mesh;
    MeshData data = TwoTriangles();
    data.Attributes = {0, 2};
    mesh.InitFromD3DXMesh(data);
    EXPECT_EQ(mesh.GetMaterialCount(), 3);
    EXPECT_EQ(mesh.GetMaterial(1), DefaultMaterial());
    const Material red = MaterialFromColor({1, 0, 0, 1});
    mesh.SetMaterial(2, red);
    EXPECT_EQ(mesh.GetMaterial(2), red);
    mesh.SetMaterial(7, red); // out of range: ignored
    EXPECT_EQ(mesh.GetMaterialCount(), 3);
    mesh.SetMaterialCount(1);
    EXPECT_EQ(mesh.GetMaterialCount(), 1);
    EXPECT_EQ(mesh.GetMaterial(2), DefaultMaterial());
    EXPECT_EQ(CD3DMesh::ClassName(), "CD3DMesh");
}

TEST(CD3DMesh, BoundingVolumesFollowTheGeometry) {
    CD3DMesh mesh;
    mesh.InitFromD3DXMesh(CreateBoxMesh(2, 4, 6));
    ExpectNear(mesh.GetLocalBox().Max, {1, 2, 3});
    mesh.Translate(10, 0, 0);
    ExpectNear(mesh.GetLocalBox().Min, {9, -2, -3});
    ExpectNear(mesh.SphereCenter(), {10, 0, 0});
    EXPECT_NEAR(mesh.SphereRadius(), std::sqrt(14.0f), 1e-5f);
    mesh.Destroy();
    EXPECT_FALSE(mesh.HasGeometry());
    EXPECT_EQ(mesh.GetMaterialCount(), 0);
}

} // namespace
} // namespace lobex
