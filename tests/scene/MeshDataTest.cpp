#include "scene/MeshData.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lobex {
namespace {

using test::ExpectNear;

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

TEST(MeshData, WeldingJoinsOnlyBitwiseIdenticalVertices) {
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
}

TEST(MeshData, TheWireFrameHasEachEdgeOfTheTrianglesOnce) {
    using Edges = std::vector<std::uint32_t>;
    // A quad as two triangles: the diagonal they share is drawn once.
    EXPECT_EQ(TriangleEdges(Edges{0, 1, 2, 2, 1, 3}), (Edges{0, 1, 0, 2, 1, 2, 1, 3, 2, 3}));
    // A triangle folded onto its pole draws only its real edge; a trailing part triangle is no
    // triangle.
    EXPECT_EQ(TriangleEdges(Edges{4, 4, 5, 7, 8}), (Edges{4, 5}));
    EXPECT_TRUE(TriangleEdges({}).empty());
}

} // namespace
} // namespace lobex
