#include "GltfModel.h"

#include "GainColours.h"
#include "ViewScene.h"
#include "core/TextRules.h"
#include "model/ShortestDecimal.h"
#include "scene/MeshData.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

namespace lobex {
namespace {

// Appends raw floats or indices to the one buffer, 4-byte aligned, as a new buffer view.
int AddView(tinygltf::Model& model, const void* data, std::size_t bytes, int target) {
    std::vector<unsigned char>& buffer = model.buffers.front().data;
    buffer.resize((buffer.size() + 3) / 4 * 4);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = buffer.size();
    view.byteLength = bytes;
    view.target = target;
    const auto* first = static_cast<const unsigned char*>(data);
    buffer.insert(buffer.end(), first, first + bytes);
    model.bufferViews.push_back(view);
    return static_cast<int>(model.bufferViews.size() - 1);
}

int AddVectors(tinygltf::Model& model, const std::vector<Vector3>& vectors, bool bounds) {
    tinygltf::Accessor accessor;
    accessor.bufferView = AddView(model, vectors.data(), vectors.size() * sizeof(Vector3),
                                  TINYGLTF_TARGET_ARRAY_BUFFER);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    accessor.count = vectors.size();
    accessor.type = TINYGLTF_TYPE_VEC3;
    if (bounds && !vectors.empty()) {
        Vector3 low = vectors.front();
        Vector3 high = vectors.front();
        for (const Vector3& v : vectors) {
            low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
            high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
        }
        accessor.minValues = {low.x, low.y, low.z};
        accessor.maxValues = {high.x, high.y, high.z};
    }
    model.accessors.push_back(accessor);
    return static_cast<int>(model.accessors.size() - 1);
}

int AddIndices(tinygltf::Model& model, const std::vector<std::uint32_t>& indices) {
    tinygltf::Accessor accessor;
    accessor.bufferView = AddView(model, indices.data(), indices.size() * sizeof(std::uint32_t),
                                  TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    accessor.count = indices.size();
    accessor.type = TINYGLTF_TYPE_SCALAR;
    model.accessors.push_back(accessor);
    return static_cast<int>(model.accessors.size() - 1);
}

int AddMaterial(tinygltf::Model& model, const char* name, std::array<double, 4> colour,
                bool doubleSided) {
    tinygltf::Material material;
    material.name = name;
    material.pbrMetallicRoughness.baseColorFactor = {colour[0], colour[1], colour[2], colour[3]};
    material.pbrMetallicRoughness.metallicFactor = 0.0;
    material.pbrMetallicRoughness.roughnessFactor = 0.8;
    material.doubleSided = doubleSided;
    model.materials.push_back(material);
    return static_cast<int>(model.materials.size() - 1);
}

// Adds the node without a parent: the caller links it, after the node list has grown.
int AddMeshNode(tinygltf::Model& model, tinygltf::Primitive primitive, const char* name) {
    tinygltf::Mesh mesh;
    mesh.name = name;
    mesh.primitives.push_back(std::move(primitive));
    model.meshes.push_back(mesh);
    tinygltf::Node node;
    node.name = name;
    node.mesh = static_cast<int>(model.meshes.size() - 1);
    model.nodes.push_back(node);
    return static_cast<int>(model.nodes.size() - 1);
}

// A normal the validator and the viewers accept: unit length; a vertex between faces that cancel
// out (the poles of a flat lobe) points away from the centre instead.
Vector3 UnitNormal(Vector3 normal, Vector3 position) {
    for (const Vector3 candidate : {normal, position, Vector3{0.0f, 0.0f, 1.0f}}) {
        const float length = Vec3Length(candidate);
        if (length > 1e-6f && std::isfinite(length)) {
            return candidate / length;
        }
    }
    return {0.0f, 0.0f, 1.0f};
}

void AddSurface(tinygltf::Model& model, const PatternMesh& mesh, float rangeDb, int root,
                GltfModelResult& result) {
    std::vector<Vector3> normals(mesh.PatternVertices.size());
    std::vector<Vector3> colours(mesh.PatternVertices.size());
    for (std::size_t k = 0; k < mesh.PatternVertices.size(); ++k) {
        const Vector3 position = mesh.PatternVertices[k];
        const Vector3 normal =
            k < mesh.PatternNormals.size() ? FromScene(mesh.PatternNormals[k]) : Vector3{};
        normals[k] = UnitNormal(normal, position);
        const GainRgb c = GainColour(
            GainFraction(PatternGainAt(mesh, Vec3Length(position)), mesh.PeakGain, rangeDb));
        colours[k] = {c.r, c.g, c.b};
    }
    // Each quadrilateral as two triangles; those that collapse onto a pole are left out.
    std::vector<std::uint32_t> indices;
    indices.reserve(mesh.PatternFaces.size() * 6);
    const auto add = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        const Vector3& pa = mesh.PatternVertices[a];
        if (Vec3Length(Vec3Cross(mesh.PatternVertices[b] - pa, mesh.PatternVertices[c] - pa)) >
            0.0f) {
            indices.insert(indices.end(), {a, b, c});
        }
    };
    for (const PatternFace& face : mesh.PatternFaces) {
        add(face.a, face.b, face.c);
        add(face.a, face.c, face.d);
    }
    tinygltf::Primitive primitive;
    primitive.attributes["POSITION"] = AddVectors(model, mesh.PatternVertices, true);
    primitive.attributes["NORMAL"] = AddVectors(model, normals, false);
    primitive.attributes["COLOR_0"] = AddVectors(model, colours, false);
    primitive.indices = AddIndices(model, indices);
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    primitive.material = AddMaterial(model, "pattern", {1.0, 1.0, 1.0, 1.0}, true);
    const int node = AddMeshNode(model, primitive, "pattern");
    model.nodes[root].children.push_back(node);
    result.vertices = mesh.PatternVertices.size();
    result.triangles = indices.size() / 3;
}

void AddAntenna(tinygltf::Model& model, const AntennaDescription& antenna, int root) {
    if (!antenna.Wires.empty()) {
        std::vector<Vector3> ends;
        for (const AntennaWire& wire : antenna.Wires) {
            ends.push_back(FromScene(wire.End1));
            ends.push_back(FromScene(wire.End2));
        }
        tinygltf::Primitive wires;
        wires.attributes["POSITION"] = AddVectors(model, ends, true);
        wires.mode = TINYGLTF_MODE_LINE;
        wires.material = AddMaterial(model, "wires", {1.0, 0.0, 0.0, 1.0}, false);
        const int node = AddMeshNode(model, wires, "wires");
        model.nodes[root].children.push_back(node);
    }
    // One sphere, placed at every feed point, as the view's markers are.
    const MeshData sphere = FeedMarkerMesh();
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    for (const MeshVertex& vertex : sphere.Vertices) {
        positions.push_back(FromScene(vertex.Position));
        normals.push_back(UnitNormal(FromScene(vertex.Normal), positions.back()));
    }
    int sphereMesh = -1;
    for (std::size_t i = 0; i < antenna.Sources.size(); ++i) {
        const FeedSource& source = antenna.Sources[i];
        if (!source.Valid) {
            continue;
        }
        if (sphereMesh < 0) {
            tinygltf::Primitive primitive;
            primitive.attributes["POSITION"] = AddVectors(model, positions, true);
            primitive.attributes["NORMAL"] = AddVectors(model, normals, false);
            primitive.indices = AddIndices(model, sphere.Indices);
            primitive.mode = TINYGLTF_MODE_TRIANGLES;
            primitive.material = AddMaterial(model, "feed", {0.0, 1.0, 0.0, 1.0}, true);
            tinygltf::Mesh mesh;
            mesh.name = "feed";
            mesh.primitives.push_back(primitive);
            model.meshes.push_back(mesh);
            sphereMesh = static_cast<int>(model.meshes.size() - 1);
        }
        tinygltf::Node node;
        node.name = "feed " + source.Place;
        node.mesh = sphereMesh;
        const Vector3 at = FromScene(source.Position);
        node.translation = {at.x, at.y, at.z};
        model.nodes.push_back(node);
        model.nodes[root].children.push_back(static_cast<int>(model.nodes.size() - 1));
    }
}

} // namespace

GltfModelResult PatternGlb(const PatternMesh& mesh, const GltfModelOptions& options) {
    GltfModelResult result;
    if (mesh.PatternVertices.empty() || mesh.PatternFaces.empty()) {
        result.error = "the pattern has no surface";
        return result;
    }
    tinygltf::Model model;
    model.asset.version = "2.0";
    model.asset.generator = "Lobex";
    model.buffers.emplace_back();
    const float rangeDb = ClampGainRange(options.RangeDb);
    tinygltf::Value::Object extras;
    // As their shortest texts, so the file says 11.74 rather than 11.739999771118164.
    extras["peakGainDbi"] = tinygltf::Value(ShortestDecimal(mesh.PeakGain));
    extras["colourRangeDb"] = tinygltf::Value(ShortestDecimal(rangeDb));
    if (!options.SourceName.empty()) {
        extras["source"] = tinygltf::Value(options.SourceName);
    }
    if (options.Antenna != nullptr) {
        extras["antenna"] = tinygltf::Value(options.Antenna->AntennaName);
        extras["frequencyMHz"] = tinygltf::Value(options.Antenna->FrequencyText);
    }
    model.asset.extras = tinygltf::Value(extras);

    // z up to glTF's y up: a quarter turn back about x.
    tinygltf::Node root;
    root.name = "Lobex pattern";
    const double half = std::sqrt(0.5);
    root.rotation = {-half, 0.0, 0.0, half};
    model.nodes.push_back(root);
    AddSurface(model, mesh, rangeDb, 0, result);
    if (options.Antenna != nullptr) {
        AddAntenna(model, *options.Antenna, 0);
    }
    tinygltf::Scene scene;
    scene.nodes = {0};
    model.scenes.push_back(scene);
    model.defaultScene = 0;
    model.buffers.front().data.resize((model.buffers.front().data.size() + 3) / 4 * 4);

    std::ostringstream stream;
    tinygltf::TinyGLTF writer;
    if (!writer.WriteGltfSceneToStream(&model, stream, false, true)) {
        result.error = "the glTF writer failed";
        return result;
    }
    result.bytes = stream.str();
    return result;
}

} // namespace lobex
