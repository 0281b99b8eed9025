#pragma once

#include "D3DMath.h"
#include "Material.h"
#include "MeshData.h"
#include "SceneContext.h"

#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// A .x file as data, before it becomes frames, meshes and animations. Everything is in the
// file's own (Direct3D, left-handed) space, with the file's winding and texture coordinates.

// One mesh of a frame. Assimp splits a .x mesh by material and keeps no mesh names; the
// pieces are joined again here, but two meshes of one frame whose materials follow each other
// arrive as one, and a mesh without materials next to meshes with them gets the file's first
// material.
struct XMeshObject {
    std::string Name;
    // Polygons are split into triangle fans; subset i uses Materials[i].
    MeshData Mesh;
    std::vector<Material> Materials;
    // One per material; empty when the material names no texture.
    std::vector<std::string> TextureNames;
};

struct XFrameObject {
    std::string Name;
    Matrix Transform = MatrixIdentity();
    std::vector<XFrameObject> Frames;
    std::vector<XMeshObject> Meshes;
};

struct PositionKey {
    double Time = 0.0;
    Vector3 Value;
};

struct RotateKey {
    double Time = 0.0;
    Quaternion Value;
};

// The keys of one animated frame, times in the file's ticks.
struct XAnimationObject {
    std::string FrameName;
    std::vector<PositionKey> PositionKeys;
    std::vector<RotateKey> RotateKeys;
    std::vector<PositionKey> ScaleKeys;
};

struct XAnimationSet {
    std::string Name;
    double TicksPerSecond = 0.0;
    std::vector<XAnimationObject> Animations;
};

// The top-level data objects of a file.
struct XFileContent {
    std::vector<XFrameObject> Frames;
    std::vector<XMeshObject> Meshes;
    std::vector<XAnimationSet> AnimationSets;
};

// Reads a text or binary .x file. On failure returns false with the reader's reason in error.
// The binary models this program writes are read by its own reader (ReadOwnModelFile), and a
// damaged one is refused; every other file goes to the general one.
//
// The general reader (Assimp) is not safe with every file: crafted counts and indices make it
// allocate without bound or read outside its lists. So it is given a file only after
// CheckXFileBudget has found the file's counts backed by its data and within limits, and, in
// the user's process, only a file the user chose to open. A file the program finds or makes by
// itself (the pattern model in the temporary folder, say) is read with ReadOwnModelFile alone,
// or by the general reader in a process of its own.
bool ReadXFile(const std::string& path, XFileContent& content, std::string& error);
bool ReadXFileFromMemory(std::string_view bytes, XFileContent& content, std::string& error);

// The general reader alone (Assimp), whatever the file's layout; refused unless the file passes
// CheckXFileBudget.
bool ImportXFile(std::string_view bytes, XFileContent& content, std::string& error);

// Reads a .x file found by FindMediaFile; false when it is not found or cannot be read.
bool ReadMediaXFile(const SceneContext& scene, const std::string& path, XFileContent& content);

} // namespace lobex
