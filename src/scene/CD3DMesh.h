#pragma once

#include "Material.h"
#include "MeshData.h"
#include "Renderer.h"
#include "SceneContext.h"
#include "XFile.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// A mesh with its materials and textures, as the scene draws it: one subset per material.
class CD3DMesh {
public:
    // The mesh's name as the .x importer gives it: Assimp names a mesh after the frame that
    // holds it (and leaves meshes outside any frame unnamed).
    std::string Name;

    // Forgets geometry, materials, textures and the override.
    void Init();
    Vector3 SphereCenter() const { return sphere_.Center; }
    float SphereRadius() const { return sphere_.Radius; }
    // Every mesh of a .x file (found as named, else in the media folder), placed by the
    // transforms of its frames and joined into one; their materials follow each other. False,
    // leaving this mesh as it was, when the file cannot be read or holds no mesh.
    bool InitFromFile(SceneContext& scene, const std::string& path);
    // The same for a file already read (a model made in memory).
    bool InitFromContent(SceneContext& scene, XFileContent content);
    // Takes a mesh read from a .x file with its materials, applying ForceOpaqueMaterials and
    // loading the textures it names.
    void InitFromXOF(SceneContext& scene, XMeshObject object);
    // Makes each subset one contiguous run of triangles and drops unused vertices.
    void Optimize();
    // Changes the vertex format. Normals that the new format adds are computed from the faces;
    // normals the mesh already has are kept as they are.
    void SetFVF(std::uint32_t vertexFormat);
    void ComputeNormals();
    void FlipNormals();
    void Translate(float x, float y, float z);
    // Changes every vertex in place (to give it texture coordinates of its own, say).
    void EditVertices(const std::function<void(MeshVertex&)>& edit);
    BoundingBox GetLocalBox() const { return box_; }
    void Destroy();
    void ComputeBoundingVolumes();
    // Draws the subsets whose material (or the override) is opaque, translucent, or both.
    void RenderEx(SceneContext& scene, bool drawOpaqueSubsets, bool drawAlphaSubsets);
    void Render(SceneContext& scene);
    // No skinning is done here: the same as Render.
    void RenderSkin(SceneContext& scene);
    int GetMaterialCount() const { return static_cast<int>(materials_.size()); }
    // While set, every subset is drawn with this material.
    void SetMaterialOverride(std::optional<Material> material) { override_ = material; }
    const std::optional<Material>& GetMaterialOverride() const { return override_; }
    static std::string_view ClassName() { return "CD3DMesh"; }
    // The device was lost: its copies of the mesh and textures are dropped.
    void InvalidateDeviceObjects();
    // A device is there again: the textures are loaded anew.
    void RestoreDeviceObjects(SceneContext& scene);
    // Takes a mesh made in memory (a box, a sphere). It gets one white material per subset.
    void InitFromD3DXMesh(MeshData mesh);
    // New materials are white; their textures empty.
    void SetMaterialCount(int count);
    void SetMaterialTexture(int index, std::shared_ptr<Texture> texture);
    std::shared_ptr<Texture> GetMaterialTexture(int index) const;
    void SetMaterial(int index, const Material& material);
    // The material of a subset; a default one for an index out of range.
    Material GetMaterial(int index) const;

    const MeshData& GetMeshData() const { return mesh_; }
    bool HasGeometry() const { return !mesh_.Indices.empty(); }

private:
    bool InRange(int index) const { return index >= 0 && index < GetMaterialCount(); }

    MeshData mesh_;
    std::vector<Material> materials_;
    std::vector<std::string> textureNames_;
    std::vector<std::shared_ptr<Texture>> textures_;
    std::optional<Material> override_;
    BoundingBox box_;
    BoundingSphere sphere_;
};

// The material a mesh made in memory starts with.
Material DefaultMaterial();

} // namespace lobex
