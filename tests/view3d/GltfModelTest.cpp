#include "view3d/GltfModel.h"

#include "PatternGrids.h"
#include "SceneTestSupport.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <tiny_gltf.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace lobex {
namespace {

// One lobe towards azimuth 0 on the horizon, 20 dB above the back.
FarFieldGrid Lobe() {
    return test::MakeGrid(10.0f, 10.0f, [](float zenith, float azimuth) {
        const float degree = 3.14159265f / 180.0f;
        return 10.0f * std::sin(zenith * degree) * (1.0f + std::cos(azimuth * degree)) - 10.0f;
    });
}

tinygltf::Model ReadBack(const std::string& bytes) {
    tinygltf::Model model;
    tinygltf::TinyGLTF reader;
    std::string error;
    std::string warning;
    EXPECT_TRUE(reader.LoadBinaryFromMemory(&model, &error, &warning,
                                            reinterpret_cast<const unsigned char*>(bytes.data()),
                                            static_cast<unsigned int>(bytes.size())))
        << error;
    return model;
}

std::vector<Vector3> Vectors(const tinygltf::Model& model, int index) {
    const tinygltf::Accessor& accessor = model.accessors.at(static_cast<std::size_t>(index));
    const tinygltf::BufferView& view = model.bufferViews.at(accessor.bufferView);
    std::vector<Vector3> vectors(accessor.count);
    std::memcpy(vectors.data(), model.buffers.at(0).data.data() + view.byteOffset,
                vectors.size() * sizeof(Vector3));
    return vectors;
}

const tinygltf::Primitive& PrimitiveOf(const tinygltf::Model& model, const std::string& name) {
    for (const tinygltf::Mesh& mesh : model.meshes) {
        if (mesh.name == name) {
            return mesh.primitives.at(0);
        }
    }
    ADD_FAILURE() << "no mesh " << name;
    static const tinygltf::Primitive none;
    return none;
}

TEST(GltfModel, TheSurfaceKeepsThePatternsAxesWithUnitNormalsAndColoursByGain) {
    PatternMesh mesh = test::BuiltMesh(Lobe());
    const AntennaDescription antenna = test::Dipole();
    const GltfModelResult glb = PatternGlb(mesh, {30.0f, &antenna, "lobe.csv"});
    ASSERT_FALSE(glb.bytes.empty()) << glb.error;
    const tinygltf::Model model = ReadBack(glb.bytes);

    // What the model says of itself.
    const tinygltf::Value& extras = model.asset.extras;
    EXPECT_EQ(extras.Get("antenna").Get<std::string>(), "Dipole 20m");
    EXPECT_EQ(extras.Get("frequencyMHz").Get<std::string>(), "14.1");
    EXPECT_EQ(extras.Get("source").Get<std::string>(), "lobe.csv");
    EXPECT_NEAR(extras.Get("peakGainDbi").GetNumberAsDouble(), 10.0, 1e-4);
    EXPECT_NEAR(extras.Get("colourRangeDb").GetNumberAsDouble(), 30.0, 1e-6);

    // The root turns z up into glTF's y up; the pattern below it keeps its own axes.
    ASSERT_EQ(model.scenes.at(0).nodes, std::vector<int>{0});
    const std::vector<double>& turn = model.nodes.at(0).rotation;
    ASSERT_EQ(turn.size(), 4U);
    EXPECT_NEAR(turn[0], -std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(turn[3], std::sqrt(0.5), 1e-9);

    const tinygltf::Primitive& surface = PrimitiveOf(model, "pattern");
    const std::vector<Vector3> positions = Vectors(model, surface.attributes.at("POSITION"));
    const std::vector<Vector3> normals = Vectors(model, surface.attributes.at("NORMAL"));
    const std::vector<Vector3> colours = Vectors(model, surface.attributes.at("COLOR_0"));
    ASSERT_EQ(positions.size(), mesh.PatternVertices.size());
    EXPECT_EQ(glb.vertices, positions.size());
    // The peak, at zenith 90 and azimuth 0, lies on the pattern's x axis and is yellow; the
    // back, 20 dB down with a range of 30, a third of the way up the map.
    const std::size_t peak = 9 * mesh.ColumnCount;
    test::ExpectNear(positions[peak], {1.0f, 0.0f, 0.0f}, 1e-5f);
    EXPECT_NEAR(colours[peak].z, GainColour(1.0f).b, 1e-5f);
    const std::size_t back = 9 * mesh.ColumnCount + 18;
    EXPECT_NEAR(colours[back].y, GainColour(1.0f / 3.0f).g, 1e-3f);
    for (std::size_t k = 0; k < normals.size(); ++k) {
        ASSERT_NEAR(Vec3Length(normals[k]), 1.0f, 1e-5f) << "vertex " << k;
    }
    // The normal at the peak points outwards, along x.
    EXPECT_GT(normals[peak].x, 0.9f);

    // Two triangles a face, but none of those folded onto a pole.
    const tinygltf::Accessor& indices = model.accessors.at(surface.indices);
    EXPECT_EQ(indices.count, 3 * glb.triangles);
    EXPECT_LT(glb.triangles, 2 * mesh.PatternFaces.size());
    EXPECT_GT(glb.triangles, 2 * mesh.PatternFaces.size() - 2 * 2 * mesh.ColumnCount);

    // The wire as one line in the pattern's axes, the one valid feed as one sphere.
    const tinygltf::Primitive& wires = PrimitiveOf(model, "wires");
    EXPECT_EQ(wires.mode, TINYGLTF_MODE_LINE);
    const std::vector<Vector3> ends = Vectors(model, wires.attributes.at("POSITION"));
    ASSERT_EQ(ends.size(), 2U);
    test::ExpectNear(ends[0], {0.0f, -0.75f, 0.5f}, 1e-6f);
    int feeds = 0;
    for (const tinygltf::Node& node : model.nodes) {
        if (node.name.rfind("feed", 0) == 0) {
            ++feeds;
            EXPECT_EQ(node.translation, (std::vector<double>{0.0, 0.0, 0.5}));
        }
    }
    EXPECT_EQ(feeds, 1);

    // A pattern without surface makes no model.
    const GltfModelResult none = PatternGlb(PatternMesh{}, {});
    EXPECT_TRUE(none.bytes.empty());
    EXPECT_FALSE(none.error.empty());
}

// An independent reader finds the same surface: Assimp reads the vertex and triangle counts back.
TEST(GltfModel, AssimpReadsBackTheSurface) {
    PatternMesh mesh = test::BuiltMesh(test::LobedGrid(10.0f));
    const AntennaDescription antenna = test::Dipole();
    const GltfModelResult glb = PatternGlb(mesh, {40.0f, &antenna, {}});
    ASSERT_FALSE(glb.bytes.empty()) << glb.error;
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFileFromMemory(glb.bytes.data(), glb.bytes.size(), 0, "glb");
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    const aiMesh* surface = nullptr;
    for (unsigned int m = 0; m < scene->mNumMeshes; ++m) {
        if (std::string(scene->mMeshes[m]->mName.C_Str()) == "pattern") {
            surface = scene->mMeshes[m];
        }
    }
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->mNumVertices, glb.vertices);
    EXPECT_EQ(surface->mNumFaces, glb.triangles);
    EXPECT_TRUE(surface->HasVertexColors(0));
}

} // namespace
} // namespace lobex
