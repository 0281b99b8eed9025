#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace lobex {

// A labelled mark over a graph: a small triangle on the plotting area's top edge above its
// column, a dotted line down from it, and a ring where it lies on a drawn curve.
struct PictureMark {
    double column = 0.0;
    std::optional<double> row; // on a curve of the left axis
    QString text;
};

// What the screen shows over a graph and no copy, print or file of it does: the crosshair at
// the pointer and the marks, within the plotting area.
struct PictureOverlay {
    QRect area;
    std::optional<QPointF> crosshair;
    std::vector<PictureMark> marks;
    // The labels along the bottom edge instead of the top one: a legend of compared files
    // takes the top right.
    bool labelsBelow = false;
};

// A graph area: paints the picture it was given at its origin, on a plain background, with the
// overlay over it, and reports mouse and key input to the window that owns it.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture, QPoint origin = {});
    void ClearPicture();
    bool HasPicture() const { return !picture_.isNull(); }
    const QImage& Picture() const { return picture_; }

    void SetMarks(QRect area, std::vector<PictureMark> marks, bool labelsBelow = false);
    // The crosshair at a point of the plotting area, or (nothing) none.
    void SetCrosshair(std::optional<QPointF> at);
    const PictureOverlay& Overlay() const { return overlay_; }
    // Off while a picture of the box is taken for a file or the clipboard.
    void SetOverlayShown(bool shown);

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
    void leaveEvent(QEvent* event) override;

private:
    void PaintOverlay(QPainter& painter) const;

    QImage picture_;
    QPoint origin_;
    PictureOverlay overlay_;
    bool overlayShown_ = true;
};

} // namespace lobex
