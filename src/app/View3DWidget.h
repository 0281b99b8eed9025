#pragma once

#include "GlSceneDevice.h"
#include "view3d/ViewScene.h"

#include <QFont>
#include <QImage>
#include <QOpenGLWidget>

class QPainter;

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lobex {

struct AppState;
struct View3DState;

// The code of a Qt key in the view's held-key table (the Windows virtual-key number); 0 for
// keys the view does not know.
int VirtualKey(int qtKey);

// What OpenGL this machine offers the 3D view.
enum class GlDevice { Hardware, Software, None };

// Tries a 3.3 core context with a depth buffer: a hardware driver first, then Mesa's software
// rasterizer. None when neither gives a valid context.
GlDevice ProbeOpenGL();

// A picture of widget as the user sees it. QWidget::grab() of a window holding the 3D view
// leaves out the text drawn over the GL frame; here each shown 3D view inside is painted in
// with its own picture.
QImage WidgetPicture(QWidget& widget);

// The surface format the view asks for: OpenGL 3.3 core, 16-bit depth or better, no
// multisampling (so that what is drawn is exactly what the pipeline computes).
QSurfaceFormat View3DFormat();

// The 3D view: draws the scene's frame with shaders that light as the fixed-function pipeline
// does, and the text lines over it with QPainter. It holds no view logic of its own.
class View3DWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    View3DWidget(View3DScene& scene, View3DState& view, const AppState& state,
                 QWidget* parent = nullptr);
    ~View3DWidget() override;

    void SetFonts(const QFont& textFont, const QFont& axisFont);
    const View3DFonts& Fonts() const { return fonts_; }
    // Whether the context came up; frames are drawn only then.
    bool ContextReady() const { return ready_; }
    // What the user sees of the view: the frame with the text lines over it.
    QImage Picture();

signals:
    void MouseMoved(Qt::MouseButtons buttons, QPointF position);
    void MousePressed(Qt::MouseButton button, QPointF position);
    void MouseReleased(Qt::MouseButton button, QPointF position);
    void DoubleClicked();
    void KeyPressed(int key, Qt::KeyboardModifiers modifiers);
    void KeyReleased(int key, Qt::KeyboardModifiers modifiers);

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void DrawTextLines();

    View3DScene& scene_;
    View3DState& view_state_;
    const AppState& state_;
    View3DFonts fonts_;
    bool ready_ = false;
    QMetaObject::Connection contextLoss_;

    GlSceneDevice device_;
};

} // namespace lobex
