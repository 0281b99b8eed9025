#pragma once

#include "GlSceneDevice.h"

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSize>

#include <memory>

class QOpenGLFramebufferObject;

namespace lobex {

struct AppState;

// The 3D view's picture without a window: the same device, scene and text as the window's, drawn
// into a framebuffer object of an offscreen surface's context.
class OffscreenView3D {
public:
    OffscreenView3D();
    ~OffscreenView3D();
    OffscreenView3D(const OffscreenView3D&) = delete;
    OffscreenView3D& operator=(const OffscreenView3D&) = delete;

    // Whether a context of the view's format came up with the view's shaders.
    bool Ready() const { return ready_; }
    // The frame of the scene at size pixels with the text lines over it, as the window shows
    // it; a null picture when the view cannot draw.
    QImage Picture(View3DScene& scene, const View3DState& view, const AppState& state, QSize size,
                   const View3DFonts& fonts);

private:
    QOffscreenSurface surface_;
    QOpenGLContext context_;
    GlSceneDevice device_;
    std::unique_ptr<QOpenGLFramebufferObject> target_;
    // The scene whose meshes were last restored on this context.
    const CD3DFrame* restored_ = nullptr;
    bool ready_ = false;
};

} // namespace lobex
