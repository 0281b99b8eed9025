#include "PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

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

void PictureBox::SetMarks(QRect area, std::vector<PictureMark> marks, bool labelsBelow) {
    overlay_.area = area;
    overlay_.marks = std::move(marks);
    overlay_.labelsBelow = labelsBelow;
    update();
}

void PictureBox::SetCrosshair(std::optional<QPointF> at) {
    if (at == overlay_.crosshair) {
        return;
    }
    overlay_.crosshair = at;
    update();
}

void PictureBox::SetOverlayShown(bool shown) {
    overlayShown_ = shown;
    update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (!picture_.isNull()) {
        painter.drawImage(origin_, picture_);
        if (overlayShown_) {
            PaintOverlay(painter);
        }
    }
}

// Pixel coordinates name a pixel by its top-left corner, as the plot metrics do; lines go
// through pixel centres.
void PictureBox::PaintOverlay(QPainter& painter) const {
    const QRect& area = overlay_.area;
    if (area.isEmpty()) {
        return;
    }
    const QPointF half(0.5, 0.5);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink(64, 64, 64);
    const QFontMetrics metrics = fontMetrics();
    // Labels hang below the top edge (or stand on the bottom one); one that would run into the
    // one before goes a line further in.
    std::vector<QRectF> placed;
    std::vector<const PictureMark*> order;
    for (const PictureMark& mark : overlay_.marks) {
        order.push_back(&mark);
    }
    std::sort(order.begin(), order.end(),
              [](const PictureMark* a, const PictureMark* b) { return a->column < b->column; });
    for (const PictureMark* mark : order) {
        const double x = mark->column + 0.5;
        const double top = area.top() + 0.5;
        painter.setPen(QPen(ink, 1.0, Qt::DotLine));
        painter.drawLine(QPointF(x, top), QPointF(x, area.bottom() + 0.5));
        QPainterPath triangle;
        triangle.moveTo(x - 5.0, top - 7.0);
        triangle.lineTo(x + 5.0, top - 7.0);
        triangle.lineTo(x, top);
        triangle.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawPath(triangle);
        if (mark->row) {
            painter.setPen(QPen(ink, 1.5));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QPointF(x, *mark->row + 0.5), 4.0, 4.0);
        }
        const QSizeF size(metrics.horizontalAdvance(mark->text) + 6.0, metrics.height() + 2.0);
        double left = x + 4.0;
        if (left + size.width() > area.right()) {
            left = x - 4.0 - size.width();
        }
        const bool below = overlay_.labelsBelow;
        QRectF box(QPointF(std::max<double>(left, area.left() + 1.0),
                           below ? area.bottom() - 2.0 - size.height() : top + 3.0),
                   size);
        while (std::any_of(placed.begin(), placed.end(),
                           [&box](const QRectF& other) { return other.intersects(box); })) {
            box.translate(0.0, below ? -size.height() : size.height());
        }
        placed.push_back(box);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 220));
        painter.drawRect(box);
        painter.setPen(ink);
        painter.drawText(box, Qt::AlignCenter, mark->text);
    }
    if (overlay_.crosshair) {
        const QPointF at = *overlay_.crosshair + half;
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(0, 0, 0, 110), 1.0));
        painter.drawLine(QPointF(at.x(), area.top()), QPointF(at.x(), area.bottom() + 1.0));
        painter.drawLine(QPointF(area.left(), at.y()), QPointF(area.right() + 1.0, at.y()));
    }
    painter.restore();
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

void PictureBox::leaveEvent(QEvent* event) {
    SetCrosshair(std::nullopt);
    QWidget::leaveEvent(event);
}

} // namespace lobex
