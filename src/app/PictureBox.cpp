#include "PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lobex {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::SetPicture(const QImage& picture, QPoint origin) {
    picture_ = picture;
    origin_ = origin;
    update();
}

void PictureBox::ClearPicture() {
    picture_ = QImage();
    update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (!picture_.isNull()) {
        painter.drawImage(origin_, picture_);
    }
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMoved(event->buttons(), event->modifiers(), event->position());
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit MousePressed(event->button(), event->modifiers(), event->position());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseReleased(event->button(), event->modifiers(), event->position());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
    emit DoubleClicked();
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    emit KeyPressed(event->key(), event->modifiers());
}

void PictureBox::keyReleaseEvent(QKeyEvent* event) {
    emit KeyReleased(event->key(), event->modifiers());
}

} // namespace lobex
