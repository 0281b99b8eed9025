#include "GifFile.h"
#include "images/clsGIF.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace lobex {
namespace {

using test::GifFile;
using test::ParseGif;
using test::ReadAll;

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(width, height, format);
    picture.fill(QColor::fromRgb(colour));
    return picture;
}

QByteArray Encode(const QImage& picture, bool gif89a = false, QRgb transparent = qRgb(0, 0, 0)) {
    const IndexedPicture reduced = ReduceToPalette(picture);
    return EncodeGif(reduced, gif89a, TransparentIndex(reduced.palette, transparent));
}

std::vector<int> Iota(int count, int first = 0) {
    std::vector<int> values(static_cast<std::size_t>(count));
    std::iota(values.begin(), values.end(), first);
    return values;
}

TEST(GifPalette, HoldsTheFiveLevelsWithBlueOutermostAndBlackBeyond124) {
    const auto& palette = ScreenPalette();
    EXPECT_EQ(palette[0], qRgb(0, 0, 0));
    EXPECT_EQ(palette[1], qRgb(64, 0, 0));
    EXPECT_EQ(palette[4], qRgb(255, 0, 0));
    EXPECT_EQ(palette[5], qRgb(0, 64, 0));
    EXPECT_EQ(palette[25], qRgb(0, 0, 64));
    EXPECT_EQ(palette[62], qRgb(128, 128, 128));
    EXPECT_EQ(palette[124], qRgb(255, 255, 255));
    for (std::size_t i = 125; i < 256; ++i) {
        EXPECT_EQ(palette[i], qRgb(0, 0, 0)) << i;
    }
}

TEST(GifPalette, TrueColoursGoToTheNearestTableColour) {
    struct Case {
        int red, green, blue;
        int index;
    };
    const Case cases[] = {
        {255, 0, 0, 4},      {128, 128, 128, 62}, {0, 0, 0, 0},        {255, 255, 255, 124},
        {0, 0, 255, 100},    {0, 255, 0, 20},     {200, 100, 50, 38},  {31, 33, 95, 30},
        {32, 32, 32, 0},     {96, 160, 224, 111}, {223, 223, 223, 93}, {224, 224, 224, 124},
        {192, 192, 192, 93},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(int{NearestScreenIndex(c.red, c.green, c.blue)}, c.index)
            << c.red << "," << c.green << "," << c.blue;
    }
}

TEST(GifPalette, NearestMeansSmallestRgbDistanceOverTheWholeTable) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> channel(0, 255);
    const auto& palette = ScreenPalette();
    for (int trial = 0; trial < 2000; ++trial) {
        const int r = channel(random), g = channel(random), b = channel(random);
        int best = 0;
        int bestDistance = 1 << 30;
        for (int i = 0; i < 125; ++i) {
            const int dr = r - qRed(palette[static_cast<std::size_t>(i)]);
            const int dg = g - qGreen(palette[static_cast<std::size_t>(i)]);
            const int db = b - qBlue(palette[static_cast<std::size_t>(i)]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        ASSERT_EQ(NearestScreenIndex(r, g, b), best) << r << "," << g << "," << b;
    }
}

TEST(GifReduction, PureRedIsIndexFourAndMidGreyIndex62InEveryTrueColourFormat) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888,
                                        QImage::Format_ARGB32, QImage::Format_RGB16}) {
        const IndexedPicture red = ReduceToPalette(Filled(3, 2, qRgb(255, 0, 0), format));
        const IndexedPicture grey = ReduceToPalette(Filled(3, 2, qRgb(128, 128, 128), format));
        ASSERT_EQ(red.indices.size(), 6u);
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(red.indices[i], 4) << format;
            if (format != QImage::Format_RGB16) { // 5-6-5 bits cannot hold 128 exactly
                EXPECT_EQ(grey.indices[i], 62) << format;
            }
        }
        EXPECT_EQ(red.palette, ScreenPalette());
    }
}

TEST(GifReduction, AnEightBitPictureKeepsItsOwnPaletteAndIndices) {
    QImage picture(4, 1, QImage::Format_Indexed8);
    picture.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 0), qRgb(1, 2, 3)});
    const uchar pixels[] = {2, 0, 1, 2};
    std::copy(std::begin(pixels), std::end(pixels), picture.scanLine(0));
    const IndexedPicture reduced = ReduceToPalette(picture);
    EXPECT_EQ(reduced.indices, (std::vector<std::uint8_t>{2, 0, 1, 2}));
    EXPECT_EQ(reduced.palette[0], qRgb(10, 20, 30));
    EXPECT_EQ(reduced.palette[1], qRgb(200, 100, 0));
    EXPECT_EQ(reduced.palette[2], qRgb(1, 2, 3));
    EXPECT_EQ(reduced.palette[3], qRgb(0, 0, 0));

    QImage grey(2, 1, QImage::Format_Grayscale8);
    grey.scanLine(0)[0] = 17;
    grey.scanLine(0)[1] = 250;
    const IndexedPicture greyReduced = ReduceToPalette(grey);
    EXPECT_EQ(greyReduced.indices, (std::vector<std::uint8_t>{17, 250}));
    EXPECT_EQ(greyReduced.palette[250], qRgb(250, 250, 250));
}

TEST(GifFileLayout, HeaderDescriptorsAndPaletteSitWhereGif87aPutsThem) {
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
}

TEST(GifFileLayout, Gif89aAddsTheControlExtensionWithTheTransparentIndex) {
    struct Case {
        QRgb transparent;
        int index;
    };
    // Red is index 4; a colour the table does not hold names index 0.
    for (const Case& c :
         {Case{qRgb(255, 0, 0), 4}, Case{qRgb(12, 34, 56), 0}, Case{qRgb(128, 128, 128), 62}}) {
        const GifFile gif = ParseGif(Encode(Filled(2, 2, qRgb(255, 0, 0)), true, c.transparent));
        EXPECT_EQ(gif.signature, "GIF89a");
        ASSERT_TRUE(gif.hasControlExtension);
        EXPECT_EQ(gif.controlExtension,
                  (std::vector<std::uint8_t>{0x21, 0xF9, 4, 0x09, 0, 0,
                                             static_cast<std::uint8_t>(c.index), 0}));
        EXPECT_TRUE(gif.endsWithTerminatorAndTrailer);
    }
}

TEST(GifCodes, OnePixelWideRowsAreAClearCodeAndThePixelEach) {
    const QImage picture = test::IndexedPicture8(1, 3, {7, 200, 7});
    const GifFile gif = ParseGif(Encode(picture));
    EXPECT_EQ(gif.Codes(), (std::vector<int>{256, 7, 256, 200, 256, 7, 257}));
}

TEST(GifCodes, RepeatsAreCodedWithLearnedStringsAndTheTableRestartsEachRow) {
    // Row "4 4 4 4 4": 4 learns (4,4)=258; 258 learns (4,4,4)=259; the pending 258 ends it.
    const GifFile gif = ParseGif(Encode(Filled(5, 2, qRgb(255, 0, 0))));
    EXPECT_EQ(gif.Codes(), (std::vector<int>{256, 4, 258, 258, 256, 4, 258, 258, 257}));
}

TEST(GifCodes, MoreThan253MissesInARowGetAClearCodeRightAfterThePendingMatch) {
    // 300 pixels whose neighbour pairs are all new: every pixel after the first misses.
    std::vector<int> row = Iota(256);
    const std::vector<int> tail = Iota(44);
    row.insert(row.end(), tail.begin(), tail.end());
    const GifFile gif = ParseGif(Encode(test::IndexedPicture8(300, 1, row)));
    const std::vector<int> codes = gif.Codes();
    ASSERT_GE(codes.size(), 258u);
    EXPECT_EQ(codes[0], 256);
    for (int i = 1; i <= 253; ++i) {
        ASSERT_EQ(codes[static_cast<std::size_t>(i)], i - 1) << i;
    }
    EXPECT_EQ(codes[254], 253); // the match pending when the table was full
    EXPECT_EQ(codes[255], 256); // then the mid-row clear code
    EXPECT_EQ(codes[256], 254);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 256), 2);
    EXPECT_EQ(codes.back(), 257);
    for (const int code : codes) {
        EXPECT_LT(code, 512) << "every code must fit 9 bits";
    }
}

TEST(GifCodes, SubBlocksHoldAtMost255BytesAndTheLastOneTheRest) {
    struct Case {
        int width, height;
        std::vector<int> sizes;
    };
    // 14 x 15 distinct pixels per row: 15 x 15 + 1 = 226 codes = 255 bytes.
    // 1 x 113: 2 x 113 + 1 = 227 codes = 256 bytes.
    const Case cases[] = {{14, 15, {255}}, {1, 113, {255, 1}}};
    for (const Case& c : cases) {
        std::vector<int> indices;
        for (int y = 0; y < c.height; ++y) {
            const std::vector<int> row = Iota(c.width, y % 2);
            indices.insert(indices.end(), row.begin(), row.end());
        }
        const GifFile gif = ParseGif(Encode(test::IndexedPicture8(c.width, c.height, indices)));
        EXPECT_EQ(gif.subBlockSizes, c.sizes) << c.width << "x" << c.height;
        EXPECT_TRUE(gif.endsWithTerminatorAndTrailer);
    }
}

class GifFileTest : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return folder.filePath(QLatin1String(name)); }

    // Writes picture, then checks Qt's and giflib's decoders both see the encoder's indices.
    void ExpectDecodersAgree(const QImage& picture, const char* name) {
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

    QTemporaryDir folder;
    clsGIF gif;
};

TEST_F(GifFileTest, ScreenPicturesDecodeToTheSameIndicesInQtAndGiflib) {
    ExpectDecodersAgree(test::ScreenLikePicture(640, 400), "screen.gif");
    ExpectDecodersAgree(test::ScreenLikePicture(1, 50), "narrow.gif");
    ExpectDecodersAgree(test::ScreenLikePicture(333, 1), "flat.gif");
}

TEST_F(GifFileTest, NoisyRowsWithManyMidRowClearsDecodeToTheSameIndices) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> channel(0, 255);
    QImage noise(700, 40, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x) {
            noise.setPixel(x, y, qRgb(channel(random), channel(random), channel(random)));
        }
    }
    ExpectDecodersAgree(noise, "noise.gif");

    std::vector<int> indices;
    for (int i = 0; i < 600 * 20; ++i) {
        indices.push_back(channel(random));
    }
    ExpectDecodersAgree(test::IndexedPicture8(600, 20, indices), "indexed.gif");
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
    ASSERT_EQ(gif.SaveGIF(Filled(3, 9, qRgb(0, 0, 0)), PathOf("q.gif").toStdString()).outcome,
              GifOutcome::Written);
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

TEST_F(GifFileTest, AReadOnlyFileOfTheSameNameIsReplaced) {
    const QString path = PathOf("old.gif");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("not a picture");
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const GifResult result = gif.SaveGIF(Filled(6, 4, qRgb(128, 128, 128)), path.toStdString());
    ASSERT_EQ(result.outcome, GifOutcome::Written) << result.error;
    const QImage back = QImageReader(path).read();
    ASSERT_EQ(back.size(), QSize(6, 4));
    EXPECT_EQ(back.pixel(5, 3) & RGB_MASK, qRgb(128, 128, 128) & RGB_MASK);
}

TEST_F(GifFileTest, FailuresComeBackAsResultsAndLeaveTheEncoderReady) {
    const GifResult missingFolder =
        gif.SaveGIF(Filled(2, 2, qRgb(0, 0, 0)), PathOf("no/such/folder/x.gif").toStdString());
    EXPECT_EQ(missingFolder.outcome, GifOutcome::Failed);
    EXPECT_FALSE(missingFolder.error.empty());

    const GifResult nullPicture = gif.SaveGIF(QImage(), PathOf("null.gif").toStdString());
    EXPECT_EQ(nullPicture.outcome, GifOutcome::Failed);
    EXPECT_EQ(nullPicture.error, "Invalid picture");
    EXPECT_FALSE(QFile::exists(PathOf("null.gif")));

    EXPECT_FALSE(gif.Busy());
    EXPECT_EQ(gif.SaveGIF(Filled(2, 2, qRgb(0, 0, 0)), PathOf("after.gif").toStdString()).outcome,
              GifOutcome::Written);
}

TEST_F(GifFileTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFiles) {
    // A folder of the file's name cannot be replaced; nothing else may appear beside it.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.gif")));
    const GifResult result =
        gif.SaveGIF(Filled(2, 2, qRgb(0, 0, 0)), PathOf("taken.gif").toStdString());
    EXPECT_EQ(result.outcome, GifOutcome::Failed);
    EXPECT_TRUE(QFileInfo(PathOf("taken.gif")).isDir());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

} // namespace
} // namespace lobex
