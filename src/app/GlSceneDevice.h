#pragma once

#include "view3d/ViewScene.h"

#include <QFont>
#include <QOpenGLFunctions_3_3_Core>
#include <QSize>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QPainter;

namespace lobex {

// The 3D view's drawing on whatever OpenGL 3.3 core context is current: shaders that light as
// the fixed-function pipeline does, the meshes and lines of the scene, the gain colouring. The
// window and the offscreen pictures both draw through it, so they look alike.
class GlSceneDevice final : public View3DDevice, protected QOpenGLFunctions_3_3_Core {
public:
    GlSceneDevice();
    ~GlSceneDevice() override;
    GlSceneDevice(const GlSceneDevice&) = delete;
    GlSceneDevice& operator=(const GlSceneDevice&) = delete;

    // Compiles the shaders and makes the line buffer on the current context. False when the
    // context cannot run them.
    bool Create();
    // Frees everything made on the context, which must be current.
    void Release();
    // One frame of the scene for a target of width x height device pixels: drops meshes the
    // scene no longer holds, then draws as the view's flags say.
    void DrawFrame(View3DScene& scene, const View3DState& view, int width, int height);

    // View3DDevice.
    Matrix GetWorldTransform() const override { return world_; }
    void SetWorldTransform(const Matrix& world) override { world_ = world; }
    void SetMaterial(const Material& material) override { material_ = material; }
    void SetTexture(const Texture*) override {}
    void SetAlphaBlending(bool enabled) override;
    void DrawSubset(const MeshData& mesh, std::uint32_t subset) override;
    std::shared_ptr<Texture> CreateTextureFromFile(const std::string&, const TextureOptions*,
                                                   std::uint32_t) override {
        return nullptr;
    }
    void SetProjection(const Matrix& projection) override { projection_ = projection; }
    void SetViewTransform(const Matrix& view) override { view_ = view; }
    void SetLights(const std::array<DirectionalLight, 2>& lights) override { lights_ = lights; }
    void SetAmbient(std::uint32_t packed) override { ambient_ = packed; }
    void Clear(std::uint32_t packed) override;
    void SetFillMode(bool wireframe, bool lighting) override;
    void SetGainColouring(const GainColouring* colouring) override;
    void DrawLine3D(Vector3 from, Vector3 to, std::uint32_t packed) override;

private:
    struct GpuMesh;
    // Position, normal and gain, as the shader reads them, for the bound vertex array.
    void SetVertexLayout();
    void DeleteMesh(GpuMesh& mesh);
    void UploadEdges(GpuMesh& mesh);
    void UploadUniforms(bool lit);

    GLuint program_ = 0;
    GLuint lineVao_ = 0;
    GLuint lineVbo_ = 0;
    std::vector<std::shared_ptr<GpuMesh>> uploads_;

    Matrix world_ = MatrixIdentity();
    Matrix view_ = MatrixIdentity();
    Matrix projection_ = MatrixIdentity();
    Material material_;
    std::array<DirectionalLight, 2> lights_{};
    std::uint32_t ambient_ = kSetupAmbient;
    bool lighting_ = true;
    bool wireframe_ = false;
    std::optional<GainColouring> gainColouring_;
};

// The fonts the view writes with: the window's own font for the text lines, bold Arial 12 for
// the axis letters.
struct View3DFonts {
    QFont text;
    QFont axis;
};
View3DFonts DefaultView3DFonts();

// The corner text lines and, with the gain colours on, the legend, over a frame of size
// (logical pixels).
void PaintViewText(QPainter& painter, QSize size, const View3DState& view, float maxGain,
                   std::string_view decimalSeparator, const View3DFonts& fonts);

} // namespace lobex
