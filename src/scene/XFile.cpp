#include "XFile.h"

#include "OwnModelReader.h"
#include "XFileBudget.h"
#include "core/TextFile.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <memory>
#include <new>

namespace lobex {
namespace {

// Assimp's .x importer turns every file into a right-handed, counter-clockwise scene with
// flipped texture coordinates. Converting back to left-handed undoes exactly that, so the data
// arrives as the file holds it. Nothing else is post-processed: polygons are split here, the
// way Direct3D splits them, and identical vertices are merged here in linear time.
constexpr unsigned int kImportFlags = aiProcess_ConvertToLeftHanded;

// Names the importer gives the node it adds above several top-level frames, or above meshes
// that sit outside any frame.
constexpr std::string_view kSeveralFramesRoot = "$dummy_root";
constexpr std::string_view kLooseMeshesRoot = "$dummy_node";

std::string ToString(const aiString& text) {
    return {text.C_Str(), text.length};
}

// Assimp's matrices are for column vectors; Direct3D's are their transpose.
Matrix ToMatrix(const aiMatrix4x4& m) {
    Matrix result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            result(row, column) = m[column][row];
        }
    }
    return result;
}

ColorValue ReadColor(const aiMaterial& material, const char* key, unsigned int type,
                     unsigned int index, ColorValue fallback) {
    aiColor4D color;
    if (material.Get(key, type, index, color) != AI_SUCCESS) {
        return fallback;
    }
    return {color.r, color.g, color.b, color.a};
}

Material ToMaterial(const aiMaterial& source) {
    Material material;
    material.Diffuse =
        ReadColor(source, AI_MATKEY_COLOR_DIFFUSE, ColorValue{0.5f, 0.5f, 0.5f, 1.0f});
    material.Specular = ReadColor(source, AI_MATKEY_COLOR_SPECULAR, ColorValue{0, 0, 0, 1.0f});
    material.Emissive = ReadColor(source, AI_MATKEY_COLOR_EMISSIVE, ColorValue{0, 0, 0, 1.0f});
    // A .x material has no ambient colour; the diffuse colour stands in for it, so unlit sides
    // keep the object's own colour under the ambient light.
    material.Ambient = material.Diffuse;
    float power = 0.0f;
    if (source.Get(AI_MATKEY_SHININESS, power) == AI_SUCCESS) {
        material.Power = power;
    }
    return material;
}

std::string TextureName(const aiMaterial& source) {
    aiString path;
    if (source.GetTextureCount(aiTextureType_DIFFUSE) > 0 &&
        source.GetTexture(aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS) {
        return ToString(path);
    }
    return {};
}

std::uint32_t PackColor(const aiColor4D& color) {
    return PackedFromColorValue({color.r, color.g, color.b, color.a});
}

// Appends one of the importer's meshes as subset `subset` of target. The importer gives every
// face corner its own vertex; corners that are the same vertex are joined again here.
void AppendSubset(const aiMesh& source, std::uint32_t subset, MeshData& target,
                  VertexWelder& welder) {
    if (source.HasNormals()) {
        target.VertexFormat |= kFvfNormal;
    }
    if (source.HasTextureCoords(0)) {
        target.VertexFormat |= kFvfTex1;
    }
    if (source.HasVertexColors(0)) {
        target.VertexFormat |= kFvfDiffuse;
    }
    auto vertexAt = [&source](unsigned int i) {
        MeshVertex vertex;
        vertex.Position = {source.mVertices[i].x, source.mVertices[i].y, source.mVertices[i].z};
        if (source.HasNormals()) {
            vertex.Normal = {source.mNormals[i].x, source.mNormals[i].y, source.mNormals[i].z};
        }
        if (source.HasTextureCoords(0)) {
            vertex.Tu = source.mTextureCoords[0][i].x;
            vertex.Tv = source.mTextureCoords[0][i].y;
        }
        if (source.HasVertexColors(0)) {
            vertex.Diffuse = PackColor(source.mColors[0][i]);
        }
        return vertex;
    };
    std::vector<std::uint32_t> index(source.mNumVertices);
    for (unsigned int i = 0; i < source.mNumVertices; ++i) {
        index[i] = welder.Add(vertexAt(i));
    }
    std::size_t triangles = 0;
    for (unsigned int f = 0; f < source.mNumFaces; ++f) {
        triangles += source.mFaces[f].mNumIndices > 2 ? source.mFaces[f].mNumIndices - 2 : 0;
    }
    target.Indices.reserve(target.Indices.size() + 3 * triangles);
    target.Attributes.reserve(target.Attributes.size() + triangles);
    for (unsigned int f = 0; f < source.mNumFaces; ++f) {
        const aiFace& face = source.mFaces[f];
        // Polygons become fans around their first corner; points and lines draw nothing.
        for (unsigned int corner = 1; corner + 1 < face.mNumIndices; ++corner) {
            target.Indices.insert(target.Indices.end(),
                                  {index[face.mIndices[0]], index[face.mIndices[corner]],
                                   index[face.mIndices[corner + 1]]});
            target.Attributes.push_back(subset);
        }
    }
}

// The importer splits a .x mesh into one mesh per material, in material order, all with the
// source mesh's name. Consecutive meshes of a node belong together while the name stays and
// the material index keeps rising.
std::vector<XMeshObject> ConvertMeshes(const aiScene& scene, const aiNode& node) {
    std::vector<XMeshObject> meshes;
    std::vector<std::unique_ptr<VertexWelder>> welders;
    int lastMaterial = -1;
    for (unsigned int i = 0; i < node.mNumMeshes; ++i) {
        const aiMesh& source = *scene.mMeshes[node.mMeshes[i]];
        const std::string name = ToString(source.mName);
        const auto material = static_cast<int>(source.mMaterialIndex);
        if (meshes.empty() || meshes.back().Name != name || material <= lastMaterial) {
            meshes.emplace_back();
            meshes.back().Name = name;
            meshes.back().Mesh.VertexFormat = kFvfXyz;
            welders.push_back(std::make_unique<VertexWelder>(meshes.back().Mesh.Vertices));
        }
        lastMaterial = material;
        XMeshObject& target = meshes.back();
        const auto subset = static_cast<std::uint32_t>(target.Materials.size());
        const aiMaterial* sourceMaterial = source.mMaterialIndex < scene.mNumMaterials
                                               ? scene.mMaterials[source.mMaterialIndex]
                                               : nullptr;
        target.Materials.push_back(sourceMaterial != nullptr ? ToMaterial(*sourceMaterial)
                                                             : Material{});
        target.TextureNames.push_back(sourceMaterial != nullptr ? TextureName(*sourceMaterial)
                                                                : std::string());
        AppendSubset(source, subset, target.Mesh, *welders.back());
    }
    return meshes;
}

XFrameObject ConvertFrame(const aiScene& scene, const aiNode& node) {
    XFrameObject frame;
    frame.Name = ToString(node.mName);
    frame.Transform = ToMatrix(node.mTransformation);
    frame.Meshes = ConvertMeshes(scene, node);
    frame.Frames.reserve(node.mNumChildren);
    for (unsigned int i = 0; i < node.mNumChildren; ++i) {
        frame.Frames.push_back(ConvertFrame(scene, *node.mChildren[i]));
    }
    return frame;
}

XAnimationSet ConvertAnimation(const aiAnimation& source) {
    XAnimationSet set;
    set.Name = ToString(source.mName);
    set.TicksPerSecond = source.mTicksPerSecond;
    for (unsigned int c = 0; c < source.mNumChannels; ++c) {
        const aiNodeAnim& channel = *source.mChannels[c];
        XAnimationObject animation;
        animation.FrameName = ToString(channel.mNodeName);
        for (unsigned int k = 0; k < channel.mNumPositionKeys; ++k) {
            const aiVectorKey& key = channel.mPositionKeys[k];
            animation.PositionKeys.push_back(
                {key.mTime, {key.mValue.x, key.mValue.y, key.mValue.z}});
        }
        for (unsigned int k = 0; k < channel.mNumRotationKeys; ++k) {
            const aiQuatKey& key = channel.mRotationKeys[k];
            animation.RotateKeys.push_back(
                {key.mTime, {key.mValue.x, key.mValue.y, key.mValue.z, key.mValue.w}});
        }
        for (unsigned int k = 0; k < channel.mNumScalingKeys; ++k) {
            const aiVectorKey& key = channel.mScalingKeys[k];
            animation.ScaleKeys.push_back({key.mTime, {key.mValue.x, key.mValue.y, key.mValue.z}});
        }
        set.Animations.push_back(std::move(animation));
    }
    return set;
}

bool Import(std::string_view bytes, XFileContent& content, std::string& error) {
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFileFromMemory(bytes.data(), bytes.size(), kImportFlags, "x");
    if (scene == nullptr || scene->mRootNode == nullptr) {
        error = importer.GetErrorString();
        if (error.empty()) {
            error = "no content";
        }
        return false;
    }
    XFileContent result;
    const aiNode& root = *scene->mRootNode;
    const std::string rootName = ToString(root.mName);
    if (rootName == kSeveralFramesRoot || rootName == kLooseMeshesRoot) {
        result.Meshes = ConvertMeshes(*scene, root);
        for (unsigned int i = 0; i < root.mNumChildren; ++i) {
            result.Frames.push_back(ConvertFrame(*scene, *root.mChildren[i]));
        }
    } else {
        result.Frames.push_back(ConvertFrame(*scene, root));
    }
    for (unsigned int a = 0; a < scene->mNumAnimations; ++a) {
        result.AnimationSets.push_back(ConvertAnimation(*scene->mAnimations[a]));
    }
    content = std::move(result);
    return true;
}

} // namespace

bool ImportXFile(std::string_view bytes, XFileContent& content, std::string& error) {
    if (!CheckXFileBudget(bytes, error)) {
        return false;
    }
    // A file too large for memory must not take the view down with it.
    try {
        return Import(bytes, content, error);
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
}

bool ReadXFileFromMemory(std::string_view bytes, XFileContent& content, std::string& error) {
    try {
        switch (ReadOwnModelFile(bytes, content)) {
        case OwnModelRead::Read:
            return true;
        case OwnModelRead::Damaged:
            error = "damaged model file: its counts do not match its size";
            return false;
        case OwnModelRead::NotOurs:
            break;
        }
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
    return ImportXFile(bytes, content, error);
}

bool ReadXFile(const std::string& path, XFileContent& content, std::string& error) {
    std::string bytes;
    if (!ReadAnyFileBytes(path, bytes)) {
        error = std::string("cannot read ").append(path);
        return false;
    }
    return ReadXFileFromMemory(bytes, content, error);
}

bool ReadMediaXFile(const SceneContext& scene, const std::string& path, XFileContent& content) {
    const std::string file = FindMediaFile(scene, path);
    std::string error;
    return !file.empty() && ReadXFile(file, content, error);
}

} // namespace lobex
