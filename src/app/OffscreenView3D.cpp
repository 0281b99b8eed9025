#include "OffscreenView3D.h"

#include "View3DWidget.h"
#include "core/AppState.h"

#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLPaintDevice>
#include <QPainter>

namespace lobex {

OffscreenView3D::OffscreenView3D() {
    context_.setFormat(View3DFormat());
    surface_.setFormat(context_.format());
    surface_.create();
    ready_ = context_.create() && context_.isValid() &&
             context_.format().version() >= qMakePair(3, 3) && context_.makeCurrent(&surface_) &&
             device_.Create();
}

OffscreenView3D::~OffscreenView3D() {
    if (context_.makeCurrent(&surface_)) {
        if (ready_) {
            device_.Release();
        }
        target_.reset();
        context_.doneCurrent();
    }
}

QImage OffscreenView3D::Picture(View3DScene& scene, const View3DState& view, const AppState& state,
                                QSize size, const View3DFonts& fonts) {
    if (!ready_ || size.isEmpty() || !context_.makeCurrent(&surface_)) {
        return {};
    }
    if (!target_ || target_->size() != size) {
        // Depth and stencil as the window's framebuffer has them, one sample a pixel.
        target_ = std::make_unique<QOpenGLFramebufferObject>(
            size, QOpenGLFramebufferObject::CombinedDepthStencil);
    }
    if (!target_->isValid() || !target_->bind()) {
        return {};
    }
    if (scene.RootFrame && restored_ != scene.RootFrame.get()) {
        scene.RootFrame->RestoreDeviceObjects(scene.Context);
        restored_ = scene.RootFrame.get();
    }
    context_.functions()->glViewport(0, 0, size.width(), size.height());
    device_.DrawFrame(scene, view, size.width(), size.height());
    {
        QOpenGLPaintDevice paintDevice(size);
        QPainter painter(&paintDevice);
        PaintViewText(painter, size, view, state.Loaded.Pattern.MaxGain, state.DecimalSeparator,
                      fonts);
    }
    QImage picture = target_->toImage();
    target_->release();
    // The window's picture leaves the framebuffer's alpha out (the ground blends into it).
    picture.reinterpretAsFormat(QImage::Format_RGB32);
    return picture;
}

} // namespace lobex
