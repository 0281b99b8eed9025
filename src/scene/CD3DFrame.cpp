#include "CD3DFrame.h"

#include "CD3DAnimation.h"

#include <algorithm>
#include <cmath>

namespace lobex {
namespace {

std::shared_ptr<CD3DFrame> BuildFrame(SceneContext& scene, XFrameObject& object) {
    auto frame = CD3DFrame::Create();
    frame->ObjectName = object.Name;
    frame->SetMatrix(object.Transform);
    for (XMeshObject& meshObject : object.Meshes) {
        auto mesh = std::make_shared<CD3DMesh>();
        mesh->InitFromXOF(scene, std::move(meshObject));
        frame->AddMesh(std::move(mesh));
    }
    for (XFrameObject& child : object.Frames) {
        frame->AddChild(BuildFrame(scene, child));
    }
    return frame;
}

// How much a matrix enlarges lengths at most, for carrying a bounding radius through it.
float LargestScale(const Matrix& m) {
    float largest = 0.0f;
    for (int row = 0; row < 3; ++row) {
        largest = std::max(largest, Vec3Length({m(row, 0), m(row, 1), m(row, 2)}));
    }
    return largest;
}

} // namespace

bool CD3DFrame::AddChild(std::shared_ptr<CD3DFrame> child) {
    if (child == nullptr || child->Contains(this)) {
        return false;
    }
    frames_.push_back(std::move(child));
    return true;
}

void CD3DFrame::SetPosition(Vector3 position) {
    position_ = position;
    RebuildMatrix();
}

void CD3DFrame::SetOrientation(Quaternion orientation) {
    orientation_ = orientation;
    RebuildMatrix();
}

void CD3DFrame::SetScale(float scale) {
    scale_ = scale;
    RebuildMatrix();
}

void CD3DFrame::SetOrientationCenter(Vector3 center) {
    center_ = center;
    RebuildMatrix();
}

void CD3DFrame::AddMesh(std::shared_ptr<CD3DMesh> mesh) {
    if (mesh != nullptr) {
        meshes_.push_back(std::move(mesh));
    }
}

std::shared_ptr<CD3DMesh> CD3DFrame::AddD3DXMesh(MeshData mesh) {
    auto wrapped = std::make_shared<CD3DMesh>();
    wrapped->InitFromD3DXMesh(std::move(mesh));
    meshes_.push_back(wrapped);
    return wrapped;
}

std::shared_ptr<CD3DMesh> CD3DFrame::GetChildMesh(int index) const {
    if (index < 0 || index >= GetChildMeshCount()) {
        return nullptr;
    }
    return meshes_[static_cast<std::size_t>(index)];
}

std::shared_ptr<CD3DFrame> CD3DFrame::GetChildFrame(int index) const {
    if (index < 0 || index >= GetChildFrameCount()) {
        return nullptr;
    }
    return frames_[static_cast<std::size_t>(index)];
}

CD3DFrame* CD3DFrame::FindChildObject(std::string_view name) {
    for (const auto& child : frames_) {
        if (child->ObjectName == name) {
            return child.get();
        }
        if (CD3DFrame* found = child->FindChildObject(name)) {
            return found;
        }
    }
    return nullptr;
}

CD3DMesh* CD3DFrame::FindChildMesh(std::string_view name) {
    for (const auto& mesh : meshes_) {
        if (mesh->Name == name) {
            return mesh.get();
        }
    }
    for (const auto& child : frames_) {
        if (CD3DMesh* found = child->FindChildMesh(name)) {
            return found;
        }
    }
    return nullptr;
}

CD3DFrame* CD3DFrame::FindChildParent(std::string_view name) {
    const bool holdsIt =
        std::any_of(frames_.begin(), frames_.end(),
                    [&](const auto& child) { return child->ObjectName == name; }) ||
        std::any_of(meshes_.begin(), meshes_.end(),
                    [&](const auto& mesh) { return mesh->Name == name; });
    if (holdsIt) {
        return this;
    }
    for (const auto& child : frames_) {
        if (CD3DFrame* found = child->FindChildParent(name)) {
            return found;
        }
    }
    return nullptr;
}

void CD3DFrame::Destroy() {
    for (const auto& child : frames_) {
        child->Destroy();
    }
    frames_.clear();
    meshes_.clear();
}

bool CD3DFrame::InitFromFile(SceneContext& scene, const std::string& path, CD3DFrame* parent,
                             CD3DAnimation* animation) {
    XFileContent content;
    if (!ReadMediaXFile(scene, path, content)) {
        return false;
    }
    for (XFrameObject& object : content.Frames) {
        AddChild(BuildFrame(scene, object));
    }
    for (XMeshObject& meshObject : content.Meshes) {
        auto mesh = std::make_shared<CD3DMesh>();
        mesh->InitFromXOF(scene, std::move(meshObject));
        AddMesh(std::move(mesh));
    }
    if (animation != nullptr) {
        animation->AddAnimationSets(content.AnimationSets, *this);
    }
    if (parent != nullptr) {
        parent->AddChild(shared_from_this());
    }
    return true;
}

template <typename Action>
void CD3DFrame::ForEachMesh(Action action) {
    for (const auto& mesh : meshes_) {
        action(*mesh);
    }
    for (const auto& child : frames_) {
        child->ForEachMesh(action);
    }
}

void CD3DFrame::SetFVF(std::uint32_t vertexFormat) {
    ForEachMesh([&](CD3DMesh& mesh) { mesh.SetFVF(vertexFormat); });
}

void CD3DFrame::FlipNormals() {
    ForEachMesh([](CD3DMesh& mesh) { mesh.FlipNormals(); });
}

void CD3DFrame::ComputeNormals() {
    ForEachMesh([](CD3DMesh& mesh) { mesh.ComputeNormals(); });
}

void CD3DFrame::Optimize() {
    ForEachMesh([](CD3DMesh& mesh) { mesh.Optimize(); });
}

void CD3DFrame::ComputeBoundingVolumes() {
    ForEachMesh([](CD3DMesh& mesh) { mesh.ComputeBoundingVolumes(); });
}

void CD3DFrame::UpdateFrames(const Matrix& parentMatrix) {
    updated_ = matrix_ * parentMatrix;
    for (const auto& child : frames_) {
        child->UpdateFrames(updated_);
    }
}

void CD3DFrame::Render(SceneContext& scene, bool useUpdatedMatrices) {
    if (scene.renderer == nullptr) {
        return;
    }
    Renderer& renderer = *scene.renderer;
    const Matrix saved = renderer.GetWorldTransform();
    DrawSubtree(scene, true, false, useUpdatedMatrices);
    renderer.SetAlphaBlending(true);
    renderer.SetWorldTransform(saved);
    DrawSubtree(scene, false, true, useUpdatedMatrices);
    renderer.SetAlphaBlending(false);
}

void CD3DFrame::DrawSubtree(SceneContext& scene, bool opaque, bool translucent, bool useUpdated) {
    if (!Enabled) {
        return;
    }
    Renderer& renderer = *scene.renderer;
    const Matrix previous = renderer.GetWorldTransform();
    const Matrix world = useUpdated ? updated_ : matrix_ * previous;
    renderer.SetWorldTransform(world);
    if (preRender_) {
        preRender_(*this, renderer);
    }
    const float scale = LargestScale(world);
    for (const auto& mesh : meshes_) {
        const Vector3 center = Vec3TransformCoord(mesh->SphereCenter(), world);
        if (SphereVisible(scene.ClipPlanes, center, mesh->SphereRadius() * scale)) {
            mesh->RenderEx(scene, opaque, translucent);
        }
    }
    for (const auto& child : frames_) {
        child->DrawSubtree(scene, opaque, translucent, useUpdated);
    }
    if (postRender_) {
        postRender_(*this, renderer);
    }
    renderer.SetWorldTransform(previous);
}

void CD3DFrame::AddRotation(CombineMode mode, Vector3 axis, float angle) {
    Combine(mode, MatrixRotationAxis(axis, angle));
}

void CD3DFrame::AddScale(CombineMode mode, float x, float y, float z) {
    Combine(mode, MatrixScaling(x, y, z));
}

void CD3DFrame::AddTranslation(CombineMode mode, float x, float y, float z) {
    Combine(mode, MatrixTranslation(x, y, z));
}

Vector3 CD3DFrame::TransformCoord(Vector3 point) const {
    return Vec3TransformCoord(point, matrix_);
}

Vector3 CD3DFrame::TransformNormal(Vector3 normal) const {
    return Vec3TransformNormal(normal, matrix_);
}

Vector3 CD3DFrame::InverseTransformCoord(Vector3 point) const {
    Matrix inverse;
    return MatrixInverse(matrix_, inverse) ? Vec3TransformCoord(point, inverse) : point;
}

Vector3 CD3DFrame::InverseTransformNormal(Vector3 normal) const {
    Matrix inverse;
    return MatrixInverse(matrix_, inverse) ? Vec3TransformNormal(normal, inverse) : normal;
}

void CD3DFrame::InvalidateDeviceObjects() {
    ForEachMesh([](CD3DMesh& mesh) { mesh.InvalidateDeviceObjects(); });
}

void CD3DFrame::RestoreDeviceObjects(SceneContext& scene) {
    ForEachMesh([&](CD3DMesh& mesh) { mesh.RestoreDeviceObjects(scene); });
}

void CD3DFrame::RebuildMatrix() {
    matrix_ = MatrixAffineTransformation(scale_, center_, orientation_, position_);
}

void CD3DFrame::Combine(CombineMode mode, const Matrix& transformation) {
    switch (mode) {
    case CombineMode::Before:
        matrix_ = transformation * matrix_;
        break;
    case CombineMode::After:
        matrix_ = matrix_ * transformation;
        break;
    case CombineMode::Replace:
        matrix_ = transformation;
        break;
    }
}

bool CD3DFrame::Contains(const CD3DFrame* frame) const {
    if (frame == this) {
        return true;
    }
    return std::any_of(frames_.begin(), frames_.end(),
                       [&](const auto& child) { return child->Contains(frame); });
}

std::shared_ptr<CD3DFrame> CreateFrame(CD3DFrame* parent) {
    auto frame = CD3DFrame::Create();
    if (parent != nullptr) {
        parent->AddChild(frame);
    }
    return frame;
}

std::shared_ptr<CD3DMesh> LoadMeshFromFile(SceneContext& scene, const std::string& path) {
    auto mesh = std::make_shared<CD3DMesh>();
    mesh->InitFromFile(scene, path);
    return mesh;
}

} // namespace lobex
