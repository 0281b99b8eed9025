#include "CD3DMesh.h"

#include <algorithm>

namespace lobex {
namespace {

// Gathers every mesh of a frame tree into one, positions and normals taken to the file's space.
void CollectMeshes(const XFrameObject& frame, const Matrix& parent, XMeshObject& joined) {
    const Matrix world = frame.Transform * parent;
    for (const XMeshObject& mesh : frame.Meshes) {
        const auto firstVertex = static_cast<std::uint32_t>(joined.Mesh.Vertices.size());
        const auto firstSubset = static_cast<std::uint32_t>(joined.Materials.size());
        for (MeshVertex vertex : mesh.Mesh.Vertices) {
            vertex.Position = Vec3TransformCoord(vertex.Position, world);
            vertex.Normal = Vec3Normalize(Vec3TransformNormal(vertex.Normal, world));
            joined.Mesh.Vertices.push_back(vertex);
        }
        for (std::uint32_t index : mesh.Mesh.Indices) {
            joined.Mesh.Indices.push_back(firstVertex + index);
        }
        for (std::uint32_t subset : mesh.Mesh.Attributes) {
            joined.Mesh.Attributes.push_back(firstSubset + subset);
        }
        joined.Mesh.VertexFormat |= mesh.Mesh.VertexFormat;
        joined.Materials.insert(joined.Materials.end(), mesh.Materials.begin(),
                                mesh.Materials.end());
        joined.TextureNames.insert(joined.TextureNames.end(), mesh.TextureNames.begin(),
                                   mesh.TextureNames.end());
    }
    for (const XFrameObject& child : frame.Frames) {
        CollectMeshes(child, world, joined);
    }
}

} // namespace

Material DefaultMaterial() {
    return MaterialFromColor({1.0f, 1.0f, 1.0f, 1.0f});
}

void CD3DMesh::Init() {
    mesh_ = MeshData{};
    materials_.clear();
    textureNames_.clear();
    textures_.clear();
    override_.reset();
    box_ = {};
    sphere_ = {};
}

bool CD3DMesh::InitFromFile(SceneContext& scene, const std::string& path) {
    XFileContent content;
    return ReadMediaXFile(scene, path, content) && InitFromContent(scene, std::move(content));
}

bool CD3DMesh::InitFromContent(SceneContext& scene, XFileContent content) {
    XMeshObject joined;
    joined.Mesh.VertexFormat = kFvfXyz;
    XFrameObject top;
    top.Frames = std::move(content.Frames);
    top.Meshes = std::move(content.Meshes);
    CollectMeshes(top, MatrixIdentity(), joined);
    if (joined.Mesh.Indices.empty()) {
        return false;
    }
    if (top.Frames.size() == 1 && top.Meshes.empty() && top.Frames.front().Meshes.size() == 1) {
        joined.Name = top.Frames.front().Meshes.front().Name;
    }
    InitFromXOF(scene, std::move(joined));
    return true;
}

void CD3DMesh::InitFromXOF(SceneContext& scene, XMeshObject object) {
    Init();
    Name = std::move(object.Name);
    mesh_ = std::move(object.Mesh);
    materials_ = std::move(object.Materials);
    textureNames_ = std::move(object.TextureNames);
    textureNames_.resize(materials_.size());
    if (scene.ForceOpaqueMaterials) {
        for (Material& material : materials_) {
            material.Diffuse.a = 1.0f;
        }
    }
    textures_.clear();
    for (const std::string& name : textureNames_) {
        textures_.push_back(LoadTexture(scene, name));
    }
    ComputeBoundingVolumes();
}

void CD3DMesh::Optimize() {
    OptimizeMesh(mesh_);
    ComputeBoundingVolumes();
}

void CD3DMesh::EditVertices(const std::function<void(MeshVertex&)>& edit) {
    for (MeshVertex& vertex : mesh_.Vertices) {
        edit(vertex);
    }
    mesh_.Changed();
}

void CD3DMesh::SetFVF(std::uint32_t vertexFormat) {
    const bool addsNormals = (vertexFormat & kFvfNormal) && !(mesh_.VertexFormat & kFvfNormal);
    ConvertVertexFormat(mesh_, vertexFormat);
    if (addsNormals) {
        ComputeMeshNormals(mesh_);
    }
}

void CD3DMesh::ComputeNormals() {
    ComputeMeshNormals(mesh_);
}

void CD3DMesh::FlipNormals() {
    FlipMeshNormals(mesh_);
}

void CD3DMesh::Translate(float x, float y, float z) {
    TranslateMesh(mesh_, {x, y, z});
    ComputeBoundingVolumes();
}

void CD3DMesh::Destroy() {
    Init();
}

void CD3DMesh::ComputeBoundingVolumes() {
    box_ = ComputeBoundingBox(mesh_);
    sphere_ = ComputeBoundingSphere(mesh_);
}

void CD3DMesh::RenderEx(SceneContext& scene, bool drawOpaqueSubsets, bool drawAlphaSubsets) {
    if (scene.renderer == nullptr || !HasGeometry()) {
        return;
    }
    Renderer& renderer = *scene.renderer;
    for (int subset = 0; subset < GetMaterialCount(); ++subset) {
        const Material material =
            override_ ? *override_ : materials_[static_cast<std::size_t>(subset)];
        const bool translucent = IsTranslucent(material);
        if ((translucent && !drawAlphaSubsets) || (!translucent && !drawOpaqueSubsets)) {
            continue;
        }
        renderer.SetMaterial(material);
        renderer.SetTexture(textures_[static_cast<std::size_t>(subset)].get());
        renderer.DrawSubset(mesh_, static_cast<std::uint32_t>(subset));
    }
}

void CD3DMesh::Render(SceneContext& scene) {
    RenderEx(scene, true, true);
}

void CD3DMesh::RenderSkin(SceneContext& scene) {
    Render(scene);
}

void CD3DMesh::InvalidateDeviceObjects() {
    mesh_.Changed();
    std::fill(textures_.begin(), textures_.end(), nullptr);
}

void CD3DMesh::RestoreDeviceObjects(SceneContext& scene) {
    for (std::size_t i = 0; i < textureNames_.size(); ++i) {
        if (textures_[i] == nullptr) {
            textures_[i] = LoadTexture(scene, textureNames_[i]);
        }
    }
}

void CD3DMesh::InitFromD3DXMesh(MeshData mesh) {
    Init();
    mesh_ = std::move(mesh);
    std::uint32_t subsets = 1;
    for (std::uint32_t subset : mesh_.Attributes) {
        subsets = std::max(subsets, subset + 1);
    }
    SetMaterialCount(static_cast<int>(subsets));
    ComputeBoundingVolumes();
}

void CD3DMesh::SetMaterialCount(int count) {
    const auto size = static_cast<std::size_t>(std::max(count, 0));
    materials_.resize(size, DefaultMaterial());
    textureNames_.resize(size);
    textures_.resize(size);
}

void CD3DMesh::SetMaterialTexture(int index, std::shared_ptr<Texture> texture) {
    if (InRange(index)) {
        textures_[static_cast<std::size_t>(index)] = std::move(texture);
    }
}

std::shared_ptr<Texture> CD3DMesh::GetMaterialTexture(int index) const {
    return InRange(index) ? textures_[static_cast<std::size_t>(index)] : nullptr;
}

void CD3DMesh::SetMaterial(int index, const Material& material) {
    if (InRange(index)) {
        materials_[static_cast<std::size_t>(index)] = material;
    }
}

Material CD3DMesh::GetMaterial(int index) const {
    return InRange(index) ? materials_[static_cast<std::size_t>(index)] : DefaultMaterial();
}

} // namespace lobex
