#include "GifAnimation.h"
#include "GifFile.h"
#include "images/clsGIF.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace lobex {
namespace {

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(width, height, format);
    picture.fill(QColor::fromRgb(colour));
    return picture;
}

QByteArray Encode(const QImage& picture, bool gif89a = false, QRgb transparent = qRgb(0, 0, 0)) {
    const IndexedPicture reduced = ReduceToPalette(picture);
    return EncodeGif(reduced, gif89a, TransparentIndex(reduced.palette, transparent));
}

TEST(GifReduction, TrueColourPicturesUseTheTableAndEightBitOnesTheirOwnPalette) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888,
                                        QImage::Format_ARGB32, QImage::Format_RGB16}) {
        const IndexedPicture red = ReduceToPalette(Filled(3, 2, qRgb(255, 0, 0), format));
        EXPECT_EQ(red.indices, std::vector<std::uint8_t>(6, 4)) << format;
        EXPECT_EQ(red.palette, ScreenPalette());
        if (format != QImage::Format_RGB16) { // 5-6-5 bits cannot hold 128 exactly
            const IndexedPicture grey = ReduceToPalette(Filled(3, 2, qRgb(128, 128, 128), format));
            EXPECT_EQ(grey.indices, std::vector<std::uint8_t>(6, 62)) << format;
        }
    }
    const IndexedPicture own = ReduceToPalette(test::IndexedPicture8(4, 1, {2, 0, 1, 255}));
    EXPECT_EQ(own.indices, (std::vector<std::uint8_t>{2, 0, 1, 255}));
    EXPECT_EQ(own.palette[255], qRgb(255, 0, (255 * 7) % 256));
    QImage grey(2, 1, QImage::Format_Grayscale8);
    grey.scanLine(0)[0] = 17;
    grey.scanLine(0)[1] = 250;
    const IndexedPicture greyReduced = ReduceToPalette(grey);
    EXPECT_EQ(greyReduced.indices, (std::vector<std::uint8_t>{17, 250}));
    EXPECT_EQ(greyReduced.palette[250], qRgb(250, 250, 250));
}

TEST(GifFileLayout, OnlyGif89aMarksTheTransparentColour) {
    EXPECT_EQ(Encode(Filled(2, 2, qRgb(255, 0, 0))).left(6), "GIF87a");
    // A transparent colour the table does not hold names index 0, black.
    const std::tuple<QRgb, QRgb, bool> cases[] = {{qRgb(255, 0, 0), qRgb(255, 0, 0), true},
                                                  {qRgb(255, 0, 0), qRgb(128, 128, 128), false},
                                                  {qRgb(0, 0, 0), qRgb(12, 34, 56), true}};
    for (const auto& [colour, transparent, seeThrough] : cases) {
        const QByteArray bytes = Encode(Filled(2, 2, colour), true, transparent);
        EXPECT_EQ(bytes.left(6), "GIF89a");
        EXPECT_EQ(qAlpha(QImage::fromData(bytes, "GIF").pixel(1, 1)) == 0, seeThrough)
            << qRed(colour) << " with " << qRed(transparent) << " transparent";
    }
}

class GifFileTest : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return folder.filePath(QLatin1String(name)); }

    QTemporaryDir folder;
    clsGIF gif;
};

TEST_F(GifFileTest, QtAndGiflibDecodeTheFilesToTheEncodersIndices) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> channel(0, 255);
    // Noisy rows learn a new string at every pixel: a clear code after every 253, mid-row.
    QImage noise(700, 40, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x) {
            noise.setPixel(x, y, qRgb(channel(random), channel(random), channel(random)));
        }
    }
    std::vector<int> indices(600 * 20);
    std::generate(indices.begin(), indices.end(), [&] { return channel(random); });
    const std::pair<const char*, QImage> pictures[] = {
        {"screen.gif", test::ScreenLikePicture(640, 400)},
        {"narrow.gif", test::ScreenLikePicture(1, 50)},
        {"flat.gif", test::ScreenLikePicture(333, 1)},
        {"noise.gif", noise},
        {"indexed.gif", test::IndexedPicture8(600, 20, indices)},
    };
    for (const auto& [name, picture] : pictures) {
        const QString path = PathOf(name);
        const GifResult result = gif.SaveGIF(picture, path.toStdString());
        ASSERT_EQ(result.outcome, GifOutcome::Written) << result.error;
        const IndexedPicture expected = ReduceToPalette(picture);
        const QImage decoded = QImageReader(path).read();
        ASSERT_EQ(decoded.size(), picture.size());
        int wrong = 0;
        for (int y = 0; y < decoded.height(); ++y) {
            for (int x = 0; x < decoded.width(); ++x) {
                const std::uint8_t index =
                    expected.indices[static_cast<std::size_t>(y * decoded.width() + x)];
                wrong += (decoded.pixel(x, y) & RGB_MASK) != (expected.palette[index] & RGB_MASK);
            }
        }
        EXPECT_EQ(wrong, 0) << name << ": pixels Qt decodes to another colour";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const test::GifAnimation giflib = test::DecodeGifAnimation(file.readAll());
        ASSERT_EQ(giflib.error, "") << name;
        ASSERT_EQ(giflib.frames.size(), 1U) << name;
        EXPECT_EQ(giflib.frames[0].indices, expected.indices)
            << name << ": giflib decodes other indices";
    }
}

TEST_F(GifFileTest, ProgressReportsEveryTenthRowRoundingHalvesToEven) {
    std::vector<int> seen;
    QObject::connect(&gif, &clsGIF::Progress,
                     [&](std::int16_t percent) { seen.push_back(percent); });
    ASSERT_EQ(gif.SaveGIF(Filled(3, 80, qRgb(0, 0, 0)), PathOf("p.gif").toStdString()).outcome,
              GifOutcome::Written);
    // 10/80 is 12.5 and goes to 12; 30/80 is 37.5 and goes to 38.
    EXPECT_EQ(seen, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    seen.clear();
    gif.SaveGIF(Filled(3, 9, qRgb(0, 0, 0)), PathOf("q.gif").toStdString());
    EXPECT_TRUE(seen.empty()) << "fewer than ten rows report nothing";
}

} // namespace
} // namespace lobex
