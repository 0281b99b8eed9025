#include "images/ImageWriter.h"
#include "GifFile.h"
#include "core/AppState.h"
#include "images/clsGIF.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lobex {
namespace {

constexpr int kBlock = 40;

// Flat blocks in colours of the GIF table, so every format can be checked at block centres.
QRgb BlockColour(int bx, int by) {
    return ScreenPalette()[static_cast<std::size_t>((bx * 7 + by * 13 + 3) % 125)];
}

QImage KnownPicture(int width = 520, int height = 380, int block = kBlock) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, BlockColour(x / block, y / block));
        }
    }
    return picture;
}

int ChannelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// Pixels that differ between two pictures of the same size.
int DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return -1;
    }
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += (a.pixel(x, y) & RGB_MASK) != (b.pixel(x, y) & RGB_MASK);
        }
    }
    return count;
}

class ImageWriterTest : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const {
        return folder.filePath(QLatin1String(name)).toStdString();
    }
    ImageResult Write(const QImage& image, std::string_view format, const char* name) {
        return WriteImageFile(image, format, PathOf(name), state, jpeg, gif);
    }
    static QImage ReadBack(const std::string& path, QByteArray* format = nullptr) {
        QImageReader reader(QString::fromStdString(path));
        if (format != nullptr) {
            *format = reader.format();
        }
        return reader.read();
    }

    QTemporaryDir folder;
    AppState state;
    JpegOptions jpeg;
    clsGIF gif;
    QImage picture = KnownPicture();
};

TEST_F(ImageWriterTest, EveryFormatCodeWritesItsKindOfFile) {
    struct Case {
        const char* code;
        const char* file;
        const char* readAs;
        int tolerance; // per channel at block centres
    };
    const Case cases[] = {{"bmp", "a.bmp", "bmp", 0},
                          {"png", "a.png", "png", 0},
                          {"gif", "a.gif", "gif", 0},
                          {"jpg", "a.jpg", "jpeg", 24}}; // lossy at quality 75
    for (const Case& c : cases) {
        const ImageResult result = Write(picture, c.code, c.file);
        ASSERT_TRUE(result.ok) << c.code << ": " << result.error;
        EXPECT_TRUE(result.written) << c.code;
        QByteArray format;
        const QImage back = ReadBack(PathOf(c.file), &format);
        EXPECT_EQ(format, QByteArray(c.readAs)) << c.code;
        ASSERT_EQ(back.size(), picture.size()) << c.code;
        if (c.tolerance == 0) {
            EXPECT_EQ(DifferingPixels(back, picture), 0) << c.code;
        }
        for (int by = 0; by * kBlock < picture.height(); ++by) {
            for (int bx = 0; bx * kBlock < picture.width(); ++bx) {
                const QRgb seen = back.pixel(std::min(bx * kBlock + kBlock / 2, back.width() - 1),
                                             std::min(by * kBlock + kBlock / 2, back.height() - 1));
                EXPECT_LE(ChannelDistance(seen, BlockColour(bx, by)), c.tolerance)
                    << c.code << " block " << bx << "," << by;
            }
        }
    }
}

TEST_F(ImageWriterTest, CodesOutsideTheTableWriteNothingAndReportNothing) {
    for (const char* code : {"emf", "dsc", "JPG", "pbmp", "", "gif ", "jpeg", "pppng"}) {
        const ImageResult result = Write(picture, code, "other.out");
        EXPECT_TRUE(result.ok) << '"' << code << '"';
        EXPECT_FALSE(result.written) << '"' << code << '"';
        EXPECT_TRUE(result.error.empty());
        EXPECT_FALSE(QFile::exists(QString::fromStdString(PathOf("other.out")))) << code;
    }
}

TEST_F(ImageWriterTest, ThePreviewOfThe3DViewIsItsMiddle320By240) {
    state.View3DActive = true;
    state.PatternShown = true; // the 3D view comes first
    ASSERT_TRUE(Write(picture, "ppng", "p3d.png").written);
    const QImage back = ReadBack(PathOf("p3d.png"));
    ASSERT_EQ(back.size(), QSize(320, 240));
    EXPECT_EQ(DifferingPixels(back, picture.copy(83, 23, 320, 240)), 0);
}

TEST_F(ImageWriterTest, ThePreviewOfAPatternIsItsDiagramScaledTo320By214) {
    state.PatternShown = true;
    ASSERT_TRUE(Write(picture, "ppng", "pat.png").written);
    const QImage back = ReadBack(PathOf("pat.png"));
    ASSERT_EQ(back.size(), QSize(320, 214));
    // Block centres inside the crop land two thirds as far from its corner (12, 14).
    int checked = 0;
    for (int by = 0; by * kBlock < 14 + 320; ++by) {
        for (int bx = 0; bx * kBlock < 12 + 480; ++bx) {
            const double sx = bx * kBlock + kBlock / 2.0 - 12;
            const double sy = by * kBlock + kBlock / 2.0 - 14;
            if (sx < 10 || sy < 10 || sx > 470 || sy > 310) {
                continue;
            }
            const QRgb seen =
                back.pixel(static_cast<int>(sx * 320 / 480), static_cast<int>(sy * 214 / 320));
            EXPECT_EQ(seen & RGB_MASK, BlockColour(bx, by) & RGB_MASK) << bx << "," << by;
            ++checked;
        }
    }
    EXPECT_GT(checked, 70);
}

TEST_F(ImageWriterTest, ThePatternPreviewEdgesAreTheRectanglesEdges) {
    // Green just inside the rectangle, magenta just outside: a crop one pixel off shows magenta.
    QImage framed = picture;
    QPainter painter(&framed);
    painter.fillRect(QRect(10, 12, 484, 324), Qt::magenta);
    painter.fillRect(QRect(12, 14, 480, 320), Qt::green);
    painter.fillRect(QRect(15, 17, 474, 314), Qt::white);
    painter.end();
    state.PatternShown = true;
    ASSERT_TRUE(Write(framed, "ppng", "edges.png").written);
    const QImage back = ReadBack(PathOf("edges.png"));
    ASSERT_EQ(back.size(), QSize(320, 214));
    for (const QPoint at : {QPoint(0, 0), QPoint(319, 0), QPoint(0, 213), QPoint(319, 213),
                            QPoint(160, 0), QPoint(160, 213), QPoint(0, 107), QPoint(319, 107)}) {
        EXPECT_LE(ChannelDistance(back.pixel(at), qRgb(0, 255, 0)), 8) << at.x() << "," << at.y();
    }
}

TEST_F(ImageWriterTest, WithNothingToPreviewTheWholePictureIsWritten) {
    ASSERT_TRUE(Write(picture, "pjpg", "whole.jpg").written);
    QByteArray format;
    EXPECT_EQ(ReadBack(PathOf("whole.jpg"), &format).size(), picture.size());
    EXPECT_EQ(format, QByteArray("jpeg"));
}

TEST_F(ImageWriterTest, GifAndJpegPreviewsHaveThePreviewSize) {
    state.View3DActive = true;
    ASSERT_TRUE(Write(picture, "pgif", "p.gif").written);
    ASSERT_TRUE(Write(picture, "pjpg", "p.jpg").written);
    QByteArray format;
    EXPECT_EQ(ReadBack(PathOf("p.gif"), &format).size(), QSize(320, 240));
    EXPECT_EQ(format, QByteArray("gif"));
    EXPECT_EQ(DifferingPixels(ReadBack(PathOf("p.gif")), picture.copy(83, 23, 320, 240)), 0);
    EXPECT_EQ(ReadBack(PathOf("p.jpg"), &format).size(), QSize(320, 240));
    EXPECT_EQ(format, QByteArray("jpeg"));
}

TEST_F(ImageWriterTest, APreviewRectangleReachingPastThePictureIsCutAtItsEdge) {
    state.View3DActive = true;
    const QImage small = KnownPicture(200, 100, 20);
    ASSERT_TRUE(Write(small, "ppng", "small.png").written);
    const QImage back = ReadBack(PathOf("small.png"));
    ASSERT_EQ(back.size(), QSize(320, 240));
    EXPECT_EQ(DifferingPixels(back.copy(0, 0, 117, 77), small.copy(83, 23, 117, 77)), 0);
    // The rest takes the colour of the crop's bottom-left pixel.
    EXPECT_EQ(back.pixel(300, 200) & RGB_MASK, small.pixel(83, 99) & RGB_MASK);
    EXPECT_EQ(back.pixel(10, 200) & RGB_MASK, small.pixel(83, 99) & RGB_MASK);

    const ImageResult outside = Write(KnownPicture(60, 20), "ppng", "none.png");
    EXPECT_FALSE(outside.ok);
    EXPECT_FALSE(outside.error.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathOf("none.png"))));
}

TEST_F(ImageWriterTest, AHighDensityGrabIsCroppedWhereTheWindowShowsTheRectangle) {
    state.View3DActive = true;
    QImage dense = KnownPicture(1040, 760, 2 * kBlock);
    dense.setDevicePixelRatio(2.0);
    ASSERT_TRUE(Write(dense, "ppng", "dense.png").written);
    const QImage back = ReadBack(PathOf("dense.png"));
    ASSERT_EQ(back.size(), QSize(320, 240));
    for (const QPoint at : {QPoint(20, 20), QPoint(160, 120), QPoint(300, 220)}) {
        const QPoint source = at + QPoint(83, 23);
        EXPECT_EQ(back.pixel(at) & RGB_MASK,
                  BlockColour(source.x() / kBlock, source.y() / kBlock) & RGB_MASK)
            << at.x() << "," << at.y();
    }
}

TEST_F(ImageWriterTest, QualityAndGreyscaleReachTheJpegEncoder) {
    const QImage photo = test::ScreenLikePicture(400, 300);
    std::string error;
    const auto encode = [&](int quality, bool grey) {
        return EncodeImage(photo, "jpg", {static_cast<std::int16_t>(quality), false, grey}, error);
    };
    EXPECT_LT(encode(10, false).size(), encode(90, false).size());
    EXPECT_EQ(encode(500, false), encode(100, false)) << "beyond 100 the encoder gets 100";
    EXPECT_EQ(encode(-7, false), encode(0, false)) << "below 0 the encoder gets 0";
    EXPECT_NE(encode(99, false), encode(100, false));

    jpeg = {90, false, true};
    ASSERT_TRUE(Write(photo, "jpg", "grey.jpg").written);
    const QImage grey = ReadBack(PathOf("grey.jpg"));
    EXPECT_TRUE(grey.isGrayscale());
    jpeg.Grayscale = false;
    ASSERT_TRUE(Write(photo, "jpg", "colour.jpg").written);
    EXPECT_FALSE(ReadBack(PathOf("colour.jpg")).isGrayscale());
}

TEST_F(ImageWriterTest, AnExistingFileIsReplacedWholeAndNothingIsLeftBeside) {
    const QString path = QString::fromStdString(PathOf("again.png"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    ASSERT_TRUE(Write(picture, "png", "again.png").written);
    EXPECT_EQ(DifferingPixels(ReadBack(PathOf("again.png")), picture), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("again.png")});
}

TEST_F(ImageWriterTest, FailuresComeBackAsResultsAndLeaveOldFilesAlone) {
    const ImageResult missing = Write(picture, "bmp", "no/such/folder/a.bmp");
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.written);
    EXPECT_FALSE(missing.error.empty());

    const QString path = QString::fromStdString(PathOf("kept.png"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("precious");
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    const ImageResult readOnly = Write(picture, "png", "kept.png");
    EXPECT_FALSE(readOnly.ok);
    EXPECT_EQ(readOnly.error, "Permission denied");
    EXPECT_EQ(test::ReadAll(path), QByteArray("precious"));

    const ImageResult nothing = Write(QImage(), "jpg", "null.jpg");
    EXPECT_FALSE(nothing.ok);
    EXPECT_EQ(nothing.error, "Invalid picture");
}

TEST_F(ImageWriterTest, ABusyGifEncoderIsReportedRatherThanPassedOverInSilence) {
    ImageResult inner;
    QObject::connect(&gif, &clsGIF::Progress,
                     [&](std::int16_t) { inner = Write(picture, "gif", "inner.gif"); });
    ASSERT_TRUE(Write(picture, "gif", "outer.gif").written);
    EXPECT_FALSE(inner.ok);
    EXPECT_FALSE(inner.written);
    EXPECT_NE(inner.error.find("busy"), std::string::npos) << inner.error;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathOf("inner.gif"))));
}

} // namespace
} // namespace lobex
