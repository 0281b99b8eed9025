#pragma once

#include "CD3DMesh.h"
#include "D3DMath.h"
#include "MeshData.h"
#include "SceneContext.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

class CD3DAnimation;

// How AddRotation, AddScale and AddTranslation combine their transformation with the local
// matrix: applied before it (new * local), after it (local * new), or instead of it.
enum class CombineMode : int { Before = 0, After = 1, Replace = 2 };

// A node of the scene: a local transformation, child frames and attached meshes. Frames are
// always held by shared pointers (make them with CreateFrame), so a frame can add itself to a
// parent and the view can keep references to frames inside the tree.
class CD3DFrame : public std::enable_shared_from_this<CD3DFrame> {
    struct Key {};

public:
    // Called with the frame and the renderer before and after the frame's own meshes are drawn;
    // a parameter the caller wants passed is captured in the callback.
    using RenderCallback = std::function<void(CD3DFrame&, Renderer&)>;

    explicit CD3DFrame(Key) {}
    static std::shared_ptr<CD3DFrame> Create() { return std::make_shared<CD3DFrame>(Key{}); }

    std::string ObjectName;
    // A disabled frame is skipped, with all its children, when the tree is drawn.
    bool Enabled = true;

    void SetPreRenderCallback(RenderCallback callback) { preRender_ = std::move(callback); }
    void SetPostRenderCallback(RenderCallback callback) { postRender_ = std::move(callback); }
    // False, adding nothing, for a null frame or one that would make the tree a loop.
    bool AddChild(std::shared_ptr<CD3DFrame> child);
    void SetPosition(Vector3 position);
    Vector3 GetPosition() const { return position_; }
    void SetOrientation(Quaternion orientation);
    Quaternion GetOrientation() const { return orientation_; }
    void SetScale(float scale);
    float GetScale() const { return scale_; }
    void SetOrientationCenter(Vector3 center);
    Vector3 GetOrientationCenter() const { return center_; }
    void AddMesh(std::shared_ptr<CD3DMesh> mesh);
    std::shared_ptr<CD3DMesh> AddD3DXMesh(MeshData mesh);
    const Matrix& GetMatrix() const { return matrix_; }
    void SetMatrix(const Matrix& matrix) { matrix_ = matrix; }
    int GetChildMeshCount() const { return static_cast<int>(meshes_.size()); }
    std::shared_ptr<CD3DMesh> GetChildMesh(int index) const;
    std::shared_ptr<CD3DFrame> GetChildFrame(int index) const;
    int GetChildFrameCount() const { return static_cast<int>(frames_.size()); }
    // The first frame below this one (depth first) with that ObjectName.
    CD3DFrame* FindChildObject(std::string_view name);
    // The first mesh of this subtree with that Name.
    CD3DMesh* FindChildMesh(std::string_view name);
    // The frame of this subtree (this one included) that directly holds a frame or mesh of
    // that name.
    CD3DFrame* FindChildParent(std::string_view name);
    // Releases the child frames and meshes.
    void Destroy();
    // Loads a .x file (found as named, else in the media folder) into this frame: each
    // top-level frame of the file becomes a child frame with its transformation, meshes and
    // children; meshes outside any frame are attached here; animation sets are handed to the
    // animation when one is given. Then, when a parent is given, this frame is added to it.
    // False, changing nothing, when the file cannot be read.
    bool InitFromFile(SceneContext& scene, const std::string& path, CD3DFrame* parent = nullptr,
                      CD3DAnimation* animation = nullptr);
    // The same-named mesh operations, applied to every mesh of the subtree.
    void SetFVF(std::uint32_t vertexFormat);
    void FlipNormals();
    void ComputeNormals();
    void Optimize();
    void ComputeBoundingVolumes();
    // Each frame's updated (world) matrix: its local matrix, then its parent's updated one.
    void UpdateFrames(const Matrix& parentMatrix = MatrixIdentity());
    const Matrix& GetUpdatedMatrix() const { return updated_; }
    // Draws the subtree: the opaque subsets, then the translucent ones with alpha blending on.
    // useUpdatedMatrices draws each frame with its UpdateFrames matrix instead of combining
    // local matrices on the way down.
    void Render(SceneContext& scene, bool useUpdatedMatrices = false);
    static std::string_view ClassName() { return "CD3DFrame"; }
    void AddRotation(CombineMode mode, Vector3 axis, float angle);
    void AddScale(CombineMode mode, float x, float y, float z);
    void AddTranslation(CombineMode mode, float x, float y, float z);
    // Map a point or direction through the local matrix or its inverse (unchanged when it has
    // none).
    Vector3 TransformCoord(Vector3 point) const;
    Vector3 TransformNormal(Vector3 normal) const;
    Vector3 InverseTransformCoord(Vector3 point) const;
    Vector3 InverseTransformNormal(Vector3 normal) const;
    void InvalidateDeviceObjects();
    void RestoreDeviceObjects(SceneContext& scene);

private:
    void RebuildMatrix();
    void Combine(CombineMode mode, const Matrix& transformation);
    bool Contains(const CD3DFrame* frame) const;
    void DrawSubtree(SceneContext& scene, bool opaque, bool translucent, bool useUpdated);
    template <typename Action>
    void ForEachMesh(Action action);

    Matrix matrix_ = MatrixIdentity();
    Vector3 position_;
    Quaternion orientation_;
    Vector3 center_;
    float scale_ = 1.0f;
    Matrix updated_ = MatrixIdentity();
    std::vector<std::shared_ptr<CD3DFrame>> frames_;
    std::vector<std::shared_ptr<CD3DMesh>> meshes_;
    RenderCallback preRender_;
    RenderCallback postRender_;
};

// A new frame, added to parent when one is given.
std::shared_ptr<CD3DFrame> CreateFrame(CD3DFrame* parent = nullptr);

// A new mesh loaded from a .x file; empty (without geometry) when the file cannot be read.
std::shared_ptr<CD3DMesh> LoadMeshFromFile(SceneContext& scene, const std::string& path);

} // namespace lobex
