#include "scene/MeshData.h"
#include "SceneTestSupport.h"
#include "scene/D3DMath.h"
#include "scene/FrameClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace lobex {
namespace {

using test::ExpectMatrixNear;
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

struct Step {
    float now;
    int command;
    float expected;
};

// Runs the commands at the given times of a clock whose time the test sets.
void ExpectSteps(const std::vector<Step>& steps) {
    float now = 0.0f;
    FrameClock clock([&now] { return now; });
    for (const Step& step : steps) {
        now = step.now;
        EXPECT_NEAR(clock(step.command), step.expected, 1e-4f)
            << "command " << step.command << " at " << step.now;
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
