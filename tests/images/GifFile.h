#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lobex::test {

// A GIF file taken apart by byte offsets, independently of the encoder's own code.
struct GifFile {
    std::string signature;
    int width = 0;
    int height = 0;
    int packed = 0;
    std::vector<std::uint8_t> palette; // 768 bytes
    bool hasControlExtension = false;
    std::vector<std::uint8_t> controlExtension; // the 8 bytes from 0x21
    int imagePacked = 0;
    int minimumCodeSize = 0;
    std::vector<std::uint8_t> data; // the sub-blocks joined
    bool endsWithTerminatorAndTrailer = false;

    // Every code of the image data, read 9 bits at a time, up to and including the end code.
    std::vector<int> Codes() const {
        std::vector<int> codes;
        std::size_t bit = 0;
        while (bit + 9 <= data.size() * 8) {
            int code = 0;
            for (int i = 0; i < 9; ++i, ++bit) {
                if (data[bit / 8] & (1u << (bit % 8))) {
                    code |= 1 << i;
                }
            }
            codes.push_back(code);
            if (code == 257) {
                break;
            }
        }
        return codes;
    }
};

inline int Word(const QByteArray& bytes, qsizetype at) {
    return static_cast<std::uint8_t>(bytes[at]) | (static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

inline GifFile ParseGif(const QByteArray& bytes) {
    GifFile gif;
    if (bytes.size() < 13 + 768 + 11) {
        return gif;
    }
    const auto byte = [&](qsizetype at) {
        return static_cast<std::uint8_t>(bytes[at]);
    };
    gif.signature = bytes.left(6).toStdString();
    gif.width = Word(bytes, 6);
    gif.height = Word(bytes, 8);
    gif.packed = byte(10);
    qsizetype at = 13;
    gif.palette.assign(bytes.begin() + at, bytes.begin() + at + 768);
    at += 768;
    if (byte(at) == 0x21) {
        gif.hasControlExtension = true;
        gif.controlExtension.assign(bytes.begin() + at, bytes.begin() + at + 8);
        at += 8;
    }
    if (byte(at) != 0x2C) {
        return gif;
    }
    gif.imagePacked = byte(at + 9);
    gif.minimumCodeSize = byte(at + 10);
    at += 11;
    while (at < bytes.size() && byte(at) != 0) {
        const int size = byte(at);
        gif.data.insert(gif.data.end(), bytes.begin() + at + 1, bytes.begin() + at + 1 + size);
        at += size + 1;
    }
    gif.endsWithTerminatorAndTrailer =
        at + 2 == bytes.size() && byte(at) == 0 && byte(at + 1) == 0x3B;
    return gif;
}

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The palette indices giflib's own decoder finds in a file, one byte per pixel.
inline QByteArray GiflibIndices(const QString& path) {
    const QString giftext = QStandardPaths::findExecutable(QStringLiteral("giftext"));
    if (giftext.isEmpty()) {
        ADD_FAILURE() << "giftext (Debian giflib-tools) is not installed";
        return {};
    }
    QProcess process;
    process.start(giftext, {QStringLiteral("-r"), path});
    process.waitForFinished(30000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

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
