#include "View3DWidget.h"

#include "core/AppState.h"
#include "view3d/View3DState.h"
#include "view3d/ViewControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>

#include <optional>

namespace lobex {
namespace {

bool SoftwareRenderer(const char* renderer) {
    const QByteArray name = QByteArray(renderer).toLower();
    return name.contains("llvmpipe") || name.contains("softpipe") || name.contains("software");
}

// A context of the view's format on an offscreen surface: its renderer's name, or nothing.
std::optional<QByteArray> TryContext() {
    QOpenGLContext context;
    context.setFormat(View3DFormat());
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.create() || !context.isValid() || !context.makeCurrent(&surface)) {
        return std::nullopt;
    }
    const QSurfaceFormat format = context.format();
    if (format.version() < qMakePair(3, 3)) {
        return std::nullopt;
    }
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    QByteArray renderer = name != nullptr ? QByteArray(name) : QByteArray();
    context.doneCurrent();
    return renderer;
}

} // namespace

int VirtualKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_PageUp:
        return vk::PageUp;
    case Qt::Key_PageDown:
        return vk::PageDown;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    default:
        break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return 112 + (qtKey - Qt::Key_F1);
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;
    }
    return 0;
}

QSurfaceFormat View3DFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(16);
    format.setSamples(0);
    return format;
}

GlDevice ProbeOpenGL() {
    if (auto renderer = TryContext()) {
        return SoftwareRenderer(renderer->constData()) ? GlDevice::Software : GlDevice::Hardware;
    }
    // Mesa reads this when it opens the next screen: its software rasterizer then serves.
    qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
    return TryContext() ? GlDevice::Software : GlDevice::None;
}

View3DWidget::View3DWidget(View3DScene& scene, View3DState& view, const AppState& state,
                           QWidget* parent)
    : QOpenGLWidget(parent), scene_(scene), view_state_(view), state_(state) {
    setObjectName(QStringLiteral("view3D"));
    setFormat(View3DFormat());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

View3DWidget::~View3DWidget() {
    if (ready_ && context() != nullptr) {
        makeCurrent();
        device_.Release();
        doneCurrent();
    }
}

void View3DWidget::SetFonts(const QFont& textFont, const QFont& axisFont) {
    fonts_ = {textFont, axisFont};
}

void View3DWidget::initializeGL() {
    ready_ = context() != nullptr && context()->isValid();
    if (!ready_) {
        return;
    }
    // A lost context (the widget moved to another window, the driver reset) takes the GPU
    // copies with it; they are made again from the scene on the next frame.
    disconnect(contextLoss_);
    contextLoss_ = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        device_.Release();
        if (scene_.RootFrame) {
            scene_.RootFrame->InvalidateDeviceObjects();
        }
        doneCurrent();
        ready_ = false;
    });

    ready_ = device_.Create();
    if (scene_.RootFrame) {
        scene_.RootFrame->RestoreDeviceObjects(scene_.Context);
    }
}

void View3DWidget::resizeGL(int width, int height) {
    device_.SetProjection(SetupViewAndLights(width, height).Projection);
}

void View3DWidget::paintGL() {
    if (!ready_ || !context()->isValid()) {
        return;
    }
    const qreal ratio = devicePixelRatioF();
    device_.DrawFrame(scene_, view_state_, static_cast<int>(width() * ratio),
                      static_cast<int>(height() * ratio));
    DrawTextLines();
}

// The text lines are painted into the framebuffer by paintGL, which the grab runs.
QImage View3DWidget::Picture() {
    return grabFramebuffer();
}

QImage WidgetPicture(QWidget& widget) {
    if (auto* view = qobject_cast<View3DWidget*>(&widget)) {
        return view->Picture();
    }
    QImage picture = widget.grab().toImage();
    if (picture.isNull()) {
        return picture;
    }
    QPainter painter(&picture);
    for (View3DWidget* view : widget.findChildren<View3DWidget*>()) {
        if (view->isVisibleTo(&widget) && view->ContextReady()) {
            const QRect place(view->mapTo(&widget, QPoint(0, 0)), view->size());
            painter.drawImage(place, view->Picture());
        }
    }
    return picture;
}

void View3DWidget::DrawTextLines() {
    QPainter painter(this);
    PaintViewText(painter, size(), view_state_, state_.Loaded.Pattern.MaxGain,
                  state_.DecimalSeparator, fonts_);
}

void View3DWidget::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMoved(event->buttons(), event->position());
}

void View3DWidget::mousePressEvent(QMouseEvent* event) {
    setFocus();
    emit MousePressed(event->button(), event->position());
}

void View3DWidget::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseReleased(event->button(), event->position());
}

void View3DWidget::mouseDoubleClickEvent(QMouseEvent*) {
    emit DoubleClicked();
}

void View3DWidget::keyPressEvent(QKeyEvent* event) {
    // A held key is held once: its repeats would ask again for what its press asked.
    if (!event->isAutoRepeat()) {
        emit KeyPressed(event->key(), event->modifiers());
    }
}

void View3DWidget::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) {
        emit KeyReleased(event->key(), event->modifiers());
    }
}

} // namespace lobex
