#pragma once

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace lobex::test {

// A picture of the kind users save: window background, text, a curve, a gradient.
inline QImage ScreenLikePicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(240, 240, 240));
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, width, 0);
    gradient.setColorAt(0, QColor(255, 255, 255));
    gradient.setColorAt(1, QColor(30, 60, 120));
    painter.fillRect(0, height - 30, width, 30, gradient);
    for (int y = 16; y < height - 40; y += 18) {
        painter.drawText(10, y, QStringLiteral("14.150  52.3  -3.71  Усил 7.35 dBi  F/B 18.2"));
    }
    painter.setPen(QPen(Qt::red, 2));
    for (int x = width / 2; x < width - 10; x += 3) {
        painter.drawLine(QPointF(x, height / 2.0 + height / 4.0 * std::sin(x / 23.0)),
                         QPointF(x + 3, height / 2.0 + height / 4.0 * std::sin((x + 3) / 23.0)));
    }
    painter.end();
    return picture;
}

// An 8-bit picture with its own 256-colour palette and the given indices, row after row.
inline QImage IndexedPicture8(int width, int height, const std::vector<int>& indices) {
    QImage picture(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i) {
        table.append(qRgb(i, 255 - i, (i * 7) % 256));
    }
    picture.setColorTable(table);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.scanLine(y)[x] =
                static_cast<uchar>(indices[static_cast<std::size_t>(y * width + x)]);
        }
    }
    return picture;
}

} // namespace lobex::test
