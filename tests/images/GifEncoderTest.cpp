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

using test::GifFile;
using test::ParseGif;

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(width, height, format);
    picture.fill(QColor::fromRgb(colour));
    return picture;
}

QByteArray Encode(const QImage& picture, bool gif89a = false, QRgb transparent = qRgb(0, 0, 0)) {
    const IndexedPicture reduced = ReduceToPalette(picture);
    return EncodeGif(reduced, gif89a, TransparentIndex(reduced.palette, transparent));
}

TEST(GifPalette, FiveLevelsWithRedInnermostAndBlackBeyond124) {
    const int levels[] = {0, 64, 128, 192, 255};
    const auto& palette = ScreenPalette();
    for (int i = 0; i < 256; ++i) {
        const QRgb expected =
            i < 125 ? qRgb(levels[i % 5], levels[i / 5 % 5], levels[i / 25]) : qRgb(0, 0, 0);
        EXPECT_EQ(palette[static_cast<std::size_t>(i)], expected) << i;
    }
}

TEST(GifPalette, NearestMeansSmallestRgbDistanceWithTiesToTheLowerIndex) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> channel(0, 255);
    std::vector<std::array<int, 3>> colours;
    for (int level = 0; level < 256; ++level) {
        colours.push_back({level, level, level}); // greys: ties at the midpoints
    }
    for (int trial = 0; trial < 2000; ++trial) {
        colours.push_back({channel(random), channel(random), channel(random)});
    }
    const auto& palette = ScreenPalette();
    for (const auto& [r, g, b] : colours) {
        int best = 0;
        int bestDistance = 1 << 30;
        for (int i = 0; i < 125; ++i) {
            const QRgb c = palette[static_cast<std::size_t>(i)];
            const int distance = (r - qRed(c)) * (r - qRed(c)) + (g - qGreen(c)) * (g - qGreen(c)) +
                                 (b - qBlue(c)) * (b - qBlue(c));
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        ASSERT_EQ(NearestScreenIndex(r, g, b), best) << r << "," << g << "," << b;
    }
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

TEST(GifFileLayout, HeaderDescriptorsPaletteAndTheGif89aControlExtension) {
    const GifFile gif = ParseGif(Encode(Filled(300, 2, qRgb(255, 0, 0))));
    EXPECT_EQ(gif.signature, "GIF87a");
    EXPECT_EQ(gif.width, 300);
    EXPECT_EQ(gif.height, 2);
    EXPECT_EQ(gif.packed, 0xF7);
    EXPECT_FALSE(gif.hasControlExtension);
    EXPECT_EQ(gif.imagePacked, 0x07);
    EXPECT_EQ(gif.minimumCodeSize, 8);
    ASSERT_EQ(gif.palette.size(), 768u);
    EXPECT_EQ(gif.palette[4 * 3], 255); // index 4 is red
    EXPECT_EQ(gif.palette[62 * 3 + 1], 128);
    EXPECT_TRUE(gif.endsWithTerminatorAndTrailer);
    // The transparent colour's index; a colour the table does not hold names index 0.
    const std::pair<QRgb, int> transparent[] = {
        {qRgb(255, 0, 0), 4}, {qRgb(12, 34, 56), 0}, {qRgb(128, 128, 128), 62}};
    for (const auto& [colour, index] : transparent) {
        const GifFile gif89 = ParseGif(Encode(Filled(2, 2, qRgb(255, 0, 0)), true, colour));
        EXPECT_EQ(gif89.signature, "GIF89a");
        EXPECT_EQ(gif89.controlExtension,
                  (std::vector<std::uint8_t>{0x21, 0xF9, 4, 0x09, 0, 0,
                                             static_cast<std::uint8_t>(index), 0}));
        EXPECT_TRUE(gif89.endsWithTerminatorAndTrailer);
    }
}

TEST(GifCodes, NineBitCodesWithTheTableRestartedEveryRow) {
    struct Case {
        const char* name;
        QImage picture;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {"one pixel a row",
         test::IndexedPicture8(1, 3, {7, 200, 7}),
         {256, 7, 256, 200, 256, 7, 257}},
        // "4 4 4 4 4": 4 learns (4,4)=258; 258 learns (4,4,4)=259; the pending 258 ends it.
        {"repeats", Filled(5, 2, qRgb(255, 0, 0)), {256, 4, 258, 258, 256, 4, 258, 258, 257}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseGif(Encode(c.picture)).Codes(), c.codes) << c.name;
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
        const QByteArray giflib = test::GiflibIndices(path);
        ASSERT_EQ(giflib.size(), static_cast<qsizetype>(expected.indices.size())) << name;
        EXPECT_TRUE(std::equal(expected.indices.begin(), expected.indices.end(),
                               reinterpret_cast<const std::uint8_t*>(giflib.constData())))
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

TEST_F(GifFileTest, ASecondCallWhileOneRunsIsRefusedAndWritesNothing) {
    std::vector<GifOutcome> inner;
    const QString second = PathOf("second.gif");
    QObject::connect(&gif, &clsGIF::Progress, [&](std::int16_t) {
        inner.push_back(gif.SaveGIF(Filled(2, 2, qRgb(0, 0, 0)), second.toStdString()).outcome);
    });
    const GifResult outer =
        gif.SaveGIF(Filled(4, 20, qRgb(255, 0, 0)), PathOf("first.gif").toStdString());
    EXPECT_EQ(outer.outcome, GifOutcome::Written);
    EXPECT_EQ(inner, (std::vector<GifOutcome>{GifOutcome::Busy, GifOutcome::Busy}));
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_FALSE(gif.Busy());
    EXPECT_TRUE(QImageReader(PathOf("first.gif")).canRead());
}

TEST_F(GifFileTest, AReadOnlyFileIsRefusedAndFailuresLeaveNothingBehind) {
    const QString path = PathOf("old.gif");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a picture");
    old.close();
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, readOnly));
    const GifResult refused = gif.SaveGIF(Filled(6, 4, qRgb(128, 128, 128)), path.toStdString());
    EXPECT_EQ(refused.outcome, GifOutcome::Failed);
    EXPECT_EQ(refused.error, "Permission denied");
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "not a picture");
    old.close();
    // Qt adds the bits of the user running the test (root may write anything).
    const QFileDevice::Permissions modeBits =
        QFile::permissions(path) &
        ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    EXPECT_EQ(modeBits, readOnly);

    // A missing folder, a folder of the file's name, no picture: results, not half files.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.gif")));
    for (const char* name : {"no/such/folder/x.gif", "taken.gif"}) {
        const GifResult failed =
            gif.SaveGIF(Filled(2, 2, qRgb(0, 0, 0)), PathOf(name).toStdString());
        EXPECT_EQ(failed.outcome, GifOutcome::Failed) << name;
        EXPECT_FALSE(failed.error.empty()) << name;
    }
    const GifResult nothing = gif.SaveGIF(QImage(), PathOf("null.gif").toStdString());
    EXPECT_EQ(nothing.outcome, GifOutcome::Failed);
    EXPECT_EQ(nothing.error, "Invalid picture");
    EXPECT_TRUE(QFileInfo(PathOf("taken.gif")).isDir());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("old.gif")});
    EXPECT_FALSE(gif.Busy());
}

} // namespace
} // namespace lobex
