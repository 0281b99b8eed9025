#pragma once

#include "D3DMath.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace lobex {

// The vertex components a mesh carries, by Direct3D's flexible-vertex-format bits.
inline constexpr std::uint32_t kFvfXyz = 0x002;
inline constexpr std::uint32_t kFvfNormal = 0x010;
inline constexpr std::uint32_t kFvfDiffuse = 0x040;
inline constexpr std::uint32_t kFvfTex1 = 0x100;
// Position, normal and one 2D texture-coordinate set: the format the 3D view draws with.
inline constexpr std::uint32_t kFvfPositionNormalTexture = kFvfXyz | kFvfNormal | kFvfTex1;

// One vertex with every component a mesh may carry; VertexFormat says which are meaningful.
struct MeshVertex {
    Vector3 Position;
    Vector3 Normal;
    float Tu = 0.0f;
    float Tv = 0.0f;
    std::uint32_t Diffuse = 0xFFFFFFFFU;

    friend bool operator==(const MeshVertex&, const MeshVertex&) = default;
};

// A triangle mesh in memory, what a D3DX mesh holds: vertices, three indices per triangle
// (front faces clockwise, as Direct3D draws them) and one subset number per triangle.
struct MeshData {
    std::uint32_t VertexFormat = kFvfXyz | kFvfNormal;
    std::vector<MeshVertex> Vertices;
    std::vector<std::uint32_t> Indices;
    std::vector<std::uint32_t> Attributes;

    // A renderer's copy of this mesh on its device (buffers and the like), owned here so that it
    // lives as long as the mesh. Cleared whenever the mesh changes or the device is lost, so the
    // renderer makes a new one on the next draw.
    mutable std::shared_ptr<void> DeviceData;

    std::size_t FaceCount() const { return Indices.size() / 3; }
    void Changed() { DeviceData.reset(); }
};

struct BoundingBox {
    Vector3 Min;
    Vector3 Max;
};

struct BoundingSphere {
    Vector3 Center;
    float Radius = 0.0f;
};

// A box centred on the origin with outward normals and one flat face per side.
MeshData CreateBoxMesh(float width, float height, float depth);
// A sphere centred on the origin with its poles on the z axis; slices around it, stacks along
// it (at least 3 and 2).
MeshData CreateSphereMesh(float radius, std::uint32_t slices, std::uint32_t stacks);

// Vertex normals as the normalised sum of the face normals around each vertex.
void ComputeMeshNormals(MeshData& mesh);
void FlipMeshNormals(MeshData& mesh);
void TranslateMesh(MeshData& mesh, Vector3 offset);
// Orders the triangles by subset (keeping their order within a subset) and drops vertices no
// triangle uses, so each subset is one contiguous run.
void OptimizeMesh(MeshData& mesh);
// Changes the vertex format: components that are added start at zero (white for the colour),
// components that are dropped are forgotten.
void ConvertVertexFormat(MeshData& mesh, std::uint32_t vertexFormat);
// Collects vertices into a list without repeats: a vertex whose every component is bitwise the
// same as one added before gets that one's index. Takes linear time and no allocation per
// vertex, which matters for the million face corners of a fine pattern read back from a file.
class VertexWelder {
public:
    // expectedCount: how many distinct vertices the list will likely end with, so that the
    // table is made large enough once.
    explicit VertexWelder(std::vector<MeshVertex>& vertices, std::size_t expectedCount = 0);
    // The index of the vertex in the list, appending it when it is new. Vertices already in the
    // list are taken as they are (repeats among them stay).
    std::uint32_t Add(const MeshVertex& vertex);

private:
    using Words = std::array<std::uint32_t, 9>;
    static Words WordsOf(const MeshVertex& vertex);
    void Grow(std::size_t expectedCount = 0);

    std::vector<MeshVertex>& vertices_;
    std::vector<std::uint64_t> table_;
};

// Merges vertices whose every component is bitwise the same, keeping the first of each.
void WeldIdenticalVertices(MeshData& mesh);

// The edges of a run of triangles (three indices each) as pairs of indices, an edge that two
// triangles share only once and edges from a vertex to itself not at all: what a wire-frame
// fill draws, with half the lines.
std::vector<std::uint32_t> TriangleEdges(std::span<const std::uint32_t> triangles);

BoundingBox ComputeBoundingBox(const MeshData& mesh);
// Centre at the mean of the vertices, radius to the farthest one.
BoundingSphere ComputeBoundingSphere(const MeshData& mesh);

// The subset numbers in use, ascending.
std::vector<std::uint32_t> SubsetIds(const MeshData& mesh);

} // namespace lobex
