#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace lobex {

// A graph area: paints the picture it was given at its origin, on a plain background, and
// reports mouse and key input to the window that owns it.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture, QPoint origin = {});
    void ClearPicture();
    bool HasPicture() const { return !picture_.isNull(); }
    const QImage& Picture() const { return picture_; }

signals:
    void MouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);
    void MousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);
    void MouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);
    void DoubleClicked();
    void KeyPressed(int key, Qt::KeyboardModifiers modifiers);
    void KeyReleased(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QImage picture_;
    QPoint origin_;
};

} // namespace lobex
