#include "GifAnimation.h"
#include "GifFile.h"
#include "images/clsGIF.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

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

// A turning picture: grey ground, a fixed label in the corner and a shaded bar that turns about
// the centre by step degrees a frame.
std::vector<QImage> TurningPictures(int count, int step, QSize size = {120, 90}) {
    std::vector<QImage> pictures;
    for (int i = 0; i < count; ++i) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(QColor(128, 128, 128));
        QPainter painter(&picture);
        painter.fillRect(4, 4, 30, 8, Qt::white);
        painter.translate(size.width() / 2.0, size.height() / 2.0);
        painter.rotate(i * step);
        QLinearGradient shade(-40, 0, 40, 0);
        shade.setColorAt(0, QColor(20, 20, 90));
        shade.setColorAt(1, QColor(80, 80, 250));
        painter.fillRect(QRectF(-40, -6, 80, 12), shade);
        painter.end();
        pictures.push_back(picture);
    }
    return pictures;
}

TEST(GifAnimation, GiflibReadsEveryFrameLoopingForeverWithItsDelay) {
    const std::vector<QImage> pictures = TurningPictures(5, 30);
    std::vector<IndexedPicture> frames = ReduceToSharedPalette(pictures);
    // A repeated frame changes nothing on the screen.
    frames.insert(frames.begin() + 2, frames[1]);
    std::vector<int> done;
    const QByteArray bytes =
        EncodeAnimatedGif(frames, 10, [&](int frame) { done.push_back(frame); });
    EXPECT_EQ(done, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(bytes.left(6), "GIF89a");

    const test::GifAnimation read = test::DecodeGifAnimation(bytes);
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.width, 120);
    EXPECT_EQ(read.height, 90);
    EXPECT_EQ(read.loopCount, 0);
    ASSERT_EQ(read.frames.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.frames[i].delay, 10);
        EXPECT_EQ(read.frames[i].disposal, DISPOSE_DO_NOT);
        EXPECT_EQ(read.frames[i].indices, frames[i].indices);
    }
    // Only the first frame is coded whole; the fixed label and the corners are not repeated.
    EXPECT_EQ(read.frames[0].area, QRect(0, 0, 120, 90));
    EXPECT_EQ(read.frames[2].area.size(), QSize(1, 1));
    for (const std::size_t i : {1U, 3U, 4U, 5U}) {
        EXPECT_FALSE(read.frames[i].area.isEmpty());
        EXPECT_FALSE(read.frames[i].area.contains(QPoint(10, 8))) << i;
        EXPECT_LT(read.frames[i].area.width() * read.frames[i].area.height(), 120 * 90) << i;
    }

    // The delay is kept to what the two bytes hold.
    EXPECT_EQ(test::DecodeGifAnimation(EncodeAnimatedGif(frames, 70000)).frames[1].delay, 65535);
    EXPECT_EQ(test::DecodeGifAnimation(EncodeAnimatedGif(frames, -3)).frames[1].delay, 0);
}

TEST(GifAnimation, NoFramesOrFramesOfDifferentSizesGiveNothing) {
    EXPECT_TRUE(EncodeAnimatedGif({}, 10).isEmpty());
    std::vector<IndexedPicture> frames = ReduceToSharedPalette(TurningPictures(2, 10));
    frames.push_back(ReduceToSharedPalette(TurningPictures(1, 0, {60, 90})).front());
    EXPECT_TRUE(EncodeAnimatedGif(frames, 10).isEmpty());
    EXPECT_TRUE(EncodeAnimatedGif(ReduceToSharedPalette({QImage()}), 10).isEmpty());
}

TEST(GifSharedPalette, FewColoursAreKeptExactlyAndAllPicturesShareTheTable) {
    // 200 colours, each in the first picture or only in the second, no two within 8 levels.
    QImage first(100, 1, QImage::Format_RGB32);
    QImage second(100, 1, QImage::Format_RGB888);
    for (int x = 0; x < 100; ++x) {
        first.setPixel(x, 0, qRgb(8 * (x % 32), 8 * (x / 32), 17));
        second.setPixel(x, 0, qRgb(3, 8 * (x % 32), 128 + 8 * (x / 32)));
    }
    const std::vector<IndexedPicture> reduced = ReduceToSharedPalette({first, second});
    ASSERT_EQ(reduced.size(), 2U);
    EXPECT_EQ(reduced[0].palette, reduced[1].palette);
    std::set<std::uint8_t> used;
    const QImage* pictures[] = {&first, &second};
    for (std::size_t i = 0; i < 2; ++i) {
        for (int x = 0; x < 100; ++x) {
            const std::uint8_t index = reduced[i].indices[static_cast<std::size_t>(x)];
            used.insert(index);
            EXPECT_EQ(reduced[i].palette[index], pictures[i]->pixel(x, 0)) << i << x;
        }
    }
    EXPECT_EQ(used.size(), 200U);
}

TEST(GifSharedPalette, ManyColoursStayCloseAndTheCommonOnesClosest) {
    // A smooth field of 65536 colours around a flat ground that covers most pixels.
    QImage picture(256, 512, QImage::Format_RGB32);
    picture.fill(QColor(128, 128, 128));
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            picture.setPixel(x, y, qRgb(x, y, (x + y) / 2));
        }
    }
    const IndexedPicture reduced = ReduceToSharedPalette({picture}).front();
    double total = 0;
    int worst = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb original = picture.pixel(x, y);
            const QRgb shown =
                reduced.palette[reduced.indices[static_cast<std::size_t>(y * 256 + x)]];
            const int error = std::abs(qRed(original) - qRed(shown)) +
                              std::abs(qGreen(original) - qGreen(shown)) +
                              std::abs(qBlue(original) - qBlue(shown));
            total += error;
            worst = std::max(worst, error);
        }
    }
    // 255 entries for a plane of colours: boxes of about 16 by 16 levels, the mean error a
    // quarter of that a channel. (The fixed table of the still pictures is up to 32 a channel
    // off.) The ground is an entry of its own and costs the rest no more than one.
    EXPECT_LT(total / (256 * 256), 12.0);
    EXPECT_LT(worst, 48);
    EXPECT_EQ(reduced.palette[reduced.indices.back()], qRgb(128, 128, 128));
}

} // namespace
} // namespace lobex
