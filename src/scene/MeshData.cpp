#include "MeshData.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <numbers>
#include <numeric>
#include <set>

namespace lobex {
namespace {

Vector3 FaceNormal(const MeshData& mesh, std::size_t face) {
    const Vector3& a = mesh.Vertices[mesh.Indices[face * 3]].Position;
    const Vector3& b = mesh.Vertices[mesh.Indices[face * 3 + 1]].Position;
    const Vector3& c = mesh.Vertices[mesh.Indices[face * 3 + 2]].Position;
    // For a clockwise triangle in the left-handed space this points towards the viewer.
    return Vec3Cross(b - a, c - a);
}

// Appends a triangle, ordered so that it faces along outward (clockwise seen from there).
void AddTriangle(MeshData& mesh, std::uint32_t a, std::uint32_t b, std::uint32_t c,
                 Vector3 outward) {
    const Vector3 normal = Vec3Cross(mesh.Vertices[b].Position - mesh.Vertices[a].Position,
                                     mesh.Vertices[c].Position - mesh.Vertices[a].Position);
    if (Vec3Dot(normal, outward) < 0.0f) {
        std::swap(b, c);
    }
    mesh.Indices.insert(mesh.Indices.end(), {a, b, c});
    mesh.Attributes.push_back(0);
}

// No vertex index is all ones: indices are below the 32-bit vertex count.
constexpr std::uint64_t kEmptySlot = 0xFFFFFFFFFFFFFFFFULL;

std::uint64_t HashOf(const std::array<std::uint32_t, 9>& words) {
    std::uint64_t hash = 0x9E3779B97F4A7C15ULL;
    for (std::uint32_t word : words) {
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDULL;
        hash ^= hash >> 29;
    }
    return hash;
}

// Keeps only the vertices listed in order, renumbering the indices; order[i] is the old index
// of new vertex i, newIndex maps old to new.
void RenumberVertices(MeshData& mesh, const std::vector<std::uint32_t>& order,
                      const std::vector<std::uint32_t>& newIndex) {
    std::vector<MeshVertex> vertices;
    vertices.reserve(order.size());
    for (std::uint32_t old : order) {
        vertices.push_back(mesh.Vertices[old]);
    }
    mesh.Vertices = std::move(vertices);
    for (std::uint32_t& index : mesh.Indices) {
        index = newIndex[index];
    }
}

} // namespace

MeshData CreateBoxMesh(float width, float height, float depth) {
    MeshData mesh;
    mesh.VertexFormat = kFvfXyz | kFvfNormal;
    const Vector3 half{width / 2.0f, height / 2.0f, depth / 2.0f};
    // Each side: its outward normal and the two axes spanning it.
    const Vector3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int axis = 0; axis < 3; ++axis) {
        const Vector3 u = axes[(axis + 1) % 3];
        const Vector3 v = axes[(axis + 2) % 3];
        for (float sign : {-1.0f, 1.0f}) {
            const Vector3 normal = axes[axis] * sign;
            const auto first = static_cast<std::uint32_t>(mesh.Vertices.size());
            for (const auto& [su, sv] :
                 {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}}) {
                const Vector3 corner = normal + u * su + v * sv;
                MeshVertex vertex;
                vertex.Position = {corner.x * half.x, corner.y * half.y, corner.z * half.z};
                vertex.Normal = normal;
                mesh.Vertices.push_back(vertex);
            }
            AddTriangle(mesh, first, first + 1, first + 2, normal);
            AddTriangle(mesh, first, first + 2, first + 3, normal);
        }
    }
    return mesh;
}

MeshData CreateSphereMesh(float radius, std::uint32_t slices, std::uint32_t stacks) {
    slices = std::max<std::uint32_t>(slices, 3);
    stacks = std::max<std::uint32_t>(stacks, 2);
    MeshData mesh;
    mesh.VertexFormat = kFvfXyz | kFvfNormal;
    auto addVertex = [&](Vector3 direction) {
        MeshVertex vertex;
        vertex.Position = direction * radius;
        vertex.Normal = direction;
        mesh.Vertices.push_back(vertex);
    };
    const double pi = std::numbers::pi;
    addVertex({0.0f, 0.0f, 1.0f});
    for (std::uint32_t stack = 1; stack < stacks; ++stack) {
        const double polar = pi * stack / stacks;
        for (std::uint32_t slice = 0; slice < slices; ++slice) {
            const double around = 2.0 * pi * slice / slices;
            addVertex({static_cast<float>(std::sin(polar) * std::cos(around)),
                       static_cast<float>(std::sin(polar) * std::sin(around)),
                       static_cast<float>(std::cos(polar))});
        }
    }
    addVertex({0.0f, 0.0f, -1.0f});
    const auto south = static_cast<std::uint32_t>(mesh.Vertices.size() - 1);
    auto ring = [&](std::uint32_t stack, std::uint32_t slice) {
        return 1 + (stack - 1) * slices + slice % slices;
    };
    auto outward = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        return mesh.Vertices[a].Position + mesh.Vertices[b].Position + mesh.Vertices[c].Position;
    };
    for (std::uint32_t slice = 0; slice < slices; ++slice) {
        const std::uint32_t a = ring(1, slice);
        const std::uint32_t b = ring(1, slice + 1);
        AddTriangle(mesh, 0, a, b, outward(0, a, b));
    }
    for (std::uint32_t stack = 1; stack + 1 < stacks; ++stack) {
        for (std::uint32_t slice = 0; slice < slices; ++slice) {
            const std::uint32_t a = ring(stack, slice);
            const std::uint32_t b = ring(stack, slice + 1);
            const std::uint32_t c = ring(stack + 1, slice + 1);
            const std::uint32_t d = ring(stack + 1, slice);
            AddTriangle(mesh, a, b, c, outward(a, b, c));
            AddTriangle(mesh, a, c, d, outward(a, c, d));
        }
    }
    for (std::uint32_t slice = 0; slice < slices; ++slice) {
        const std::uint32_t a = ring(stacks - 1, slice);
        const std::uint32_t b = ring(stacks - 1, slice + 1);
        AddTriangle(mesh, south, a, b, outward(south, a, b));
    }
    return mesh;
}

void ComputeMeshNormals(MeshData& mesh) {
    for (MeshVertex& vertex : mesh.Vertices) {
        vertex.Normal = {};
    }
    for (std::size_t face = 0; face < mesh.FaceCount(); ++face) {
        // The cross product's length weighs each face by its area.
        const Vector3 normal = FaceNormal(mesh, face);
        for (int corner = 0; corner < 3; ++corner) {
            MeshVertex& vertex = mesh.Vertices[mesh.Indices[face * 3 + corner]];
            vertex.Normal = vertex.Normal + normal;
        }
    }
    for (MeshVertex& vertex : mesh.Vertices) {
        vertex.Normal = Vec3Normalize(vertex.Normal);
    }
    mesh.VertexFormat |= kFvfNormal;
    mesh.Changed();
}

void FlipMeshNormals(MeshData& mesh) {
    for (MeshVertex& vertex : mesh.Vertices) {
        vertex.Normal = vertex.Normal * -1.0f;
    }
    mesh.Changed();
}

void TranslateMesh(MeshData& mesh, Vector3 offset) {
    for (MeshVertex& vertex : mesh.Vertices) {
        vertex.Position = vertex.Position + offset;
    }
    mesh.Changed();
}

void OptimizeMesh(MeshData& mesh) {
    const std::size_t faces = mesh.FaceCount();
    std::vector<std::size_t> order(faces);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
        return mesh.Attributes[left] < mesh.Attributes[right];
    });
    std::vector<std::uint32_t> indices;
    std::vector<std::uint32_t> attributes;
    indices.reserve(mesh.Indices.size());
    attributes.reserve(faces);
    for (std::size_t face : order) {
        indices.insert(indices.end(), mesh.Indices.begin() + static_cast<std::ptrdiff_t>(face * 3),
                       mesh.Indices.begin() + static_cast<std::ptrdiff_t>(face * 3 + 3));
        attributes.push_back(mesh.Attributes[face]);
    }
    mesh.Indices = std::move(indices);
    mesh.Attributes = std::move(attributes);

    constexpr std::uint32_t unused = 0xFFFFFFFFU;
    std::vector<std::uint32_t> newIndex(mesh.Vertices.size(), unused);
    std::vector<std::uint32_t> kept;
    kept.reserve(mesh.Vertices.size());
    for (std::uint32_t index : mesh.Indices) {
        if (newIndex[index] == unused) {
            newIndex[index] = static_cast<std::uint32_t>(kept.size());
            kept.push_back(index);
        }
    }
    RenumberVertices(mesh, kept, newIndex);
    mesh.Changed();
}

void ConvertVertexFormat(MeshData& mesh, std::uint32_t vertexFormat) {
    const std::uint32_t added = vertexFormat & ~mesh.VertexFormat;
    const std::uint32_t dropped = mesh.VertexFormat & ~vertexFormat;
    for (MeshVertex& vertex : mesh.Vertices) {
        if ((added | dropped) & kFvfNormal) {
            vertex.Normal = {};
        }
        if ((added | dropped) & kFvfTex1) {
            vertex.Tu = 0.0f;
            vertex.Tv = 0.0f;
        }
        if ((added | dropped) & kFvfDiffuse) {
            vertex.Diffuse = 0xFFFFFFFFU;
        }
    }
    mesh.VertexFormat = vertexFormat;
    mesh.Changed();
}

VertexWelder::VertexWelder(std::vector<MeshVertex>& vertices, std::size_t expectedCount)
    : vertices_(vertices) {
    Grow(expectedCount);
}

// Bitwise: 0.0 and -0.0 differ, as they would in a vertex buffer, and padding takes no part.
VertexWelder::Words VertexWelder::WordsOf(const MeshVertex& v) {
    return {std::bit_cast<std::uint32_t>(v.Position.x),
            std::bit_cast<std::uint32_t>(v.Position.y),
            std::bit_cast<std::uint32_t>(v.Position.z),
            std::bit_cast<std::uint32_t>(v.Normal.x),
            std::bit_cast<std::uint32_t>(v.Normal.y),
            std::bit_cast<std::uint32_t>(v.Normal.z),
            std::bit_cast<std::uint32_t>(v.Tu),
            std::bit_cast<std::uint32_t>(v.Tv),
            v.Diffuse};
}

// Open addressing in a power-of-two table kept at most half full. Each slot holds a vertex index
// in its low half and 32 bits of the vertex's hash in its high half, so most probes are settled
// without reading the vertex itself.
void VertexWelder::Grow(std::size_t expectedCount) {
    std::size_t size = std::max<std::size_t>(table_.size() * 2, 1024);
    while (size < std::max(vertices_.size(), expectedCount) * 2) {
        size *= 2;
    }
    table_.assign(size, kEmptySlot);
    for (std::size_t i = 0; i < vertices_.size(); ++i) {
        const std::uint64_t hash = HashOf(WordsOf(vertices_[i]));
        std::size_t slot = hash & (size - 1);
        while (table_[slot] != kEmptySlot) {
            slot = (slot + 1) & (size - 1);
        }
        table_[slot] = (hash & 0xFFFFFFFF00000000ULL) | i;
    }
}

std::uint32_t VertexWelder::Add(const MeshVertex& vertex) {
    const Words words = WordsOf(vertex);
    const std::uint64_t hash = HashOf(words);
    const std::uint64_t tag = hash & 0xFFFFFFFF00000000ULL;
    const std::size_t mask = table_.size() - 1;
    std::size_t slot = hash & mask;
    while (table_[slot] != kEmptySlot) {
        const auto index = static_cast<std::uint32_t>(table_[slot]);
        if ((table_[slot] & 0xFFFFFFFF00000000ULL) == tag && WordsOf(vertices_[index]) == words) {
            return index;
        }
        slot = (slot + 1) & mask;
    }
    const auto index = static_cast<std::uint32_t>(vertices_.size());
    table_[slot] = tag | index;
    vertices_.push_back(vertex);
    if (vertices_.size() * 2 > table_.size()) {
        Grow();
    }
    return index;
}

void WeldIdenticalVertices(MeshData& mesh) {
    std::vector<MeshVertex> welded;
    VertexWelder welder(welded);
    for (std::uint32_t& index : mesh.Indices) {
        index = welder.Add(mesh.Vertices[index]);
    }
    if (welded.size() != mesh.Vertices.size()) {
        mesh.Vertices = std::move(welded);
        mesh.Changed();
    }
}

std::vector<std::uint32_t> TriangleEdges(std::span<const std::uint32_t> triangles) {
    std::vector<std::uint64_t> keys;
    keys.reserve(triangles.size());
    for (std::size_t first = 0; first + 3 <= triangles.size(); first += 3) {
        for (std::size_t corner = 0; corner < 3; ++corner) {
            const std::uint32_t a = triangles[first + corner];
            const std::uint32_t b = triangles[first + (corner + 1) % 3];
            if (a != b) {
                keys.push_back(std::uint64_t{std::min(a, b)} << 32 | std::max(a, b));
            }
        }
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::vector<std::uint32_t> edges;
    edges.reserve(2 * keys.size());
    for (const std::uint64_t key : keys) {
        edges.push_back(static_cast<std::uint32_t>(key >> 32));
        edges.push_back(static_cast<std::uint32_t>(key));
    }
    return edges;
}

BoundingBox ComputeBoundingBox(const MeshData& mesh) {
    if (mesh.Vertices.empty()) {
        return {};
    }
    BoundingBox box{mesh.Vertices.front().Position, mesh.Vertices.front().Position};
    for (const MeshVertex& vertex : mesh.Vertices) {
        box.Min = Vec3Minimize(box.Min, vertex.Position);
        box.Max = Vec3Maximize(box.Max, vertex.Position);
    }
    return box;
}

BoundingSphere ComputeBoundingSphere(const MeshData& mesh) {
    if (mesh.Vertices.empty()) {
        return {};
    }
    double sum[3] = {0.0, 0.0, 0.0};
    for (const MeshVertex& vertex : mesh.Vertices) {
        sum[0] += vertex.Position.x;
        sum[1] += vertex.Position.y;
        sum[2] += vertex.Position.z;
    }
    const double count = static_cast<double>(mesh.Vertices.size());
    BoundingSphere sphere;
    sphere.Center = {static_cast<float>(sum[0] / count), static_cast<float>(sum[1] / count),
                     static_cast<float>(sum[2] / count)};
    for (const MeshVertex& vertex : mesh.Vertices) {
        sphere.Radius = std::max(sphere.Radius, Vec3Length(vertex.Position - sphere.Center));
    }
    return sphere;
}

std::vector<std::uint32_t> SubsetIds(const MeshData& mesh) {
    const std::set<std::uint32_t> ids(mesh.Attributes.begin(), mesh.Attributes.end());
    return {ids.begin(), ids.end()};
}

} // namespace lobex
