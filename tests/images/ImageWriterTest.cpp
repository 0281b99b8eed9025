#include "images/ImageWriter.h"
#include "GifAnimation.h"
#include "ImageCompare.h"
#include "core/AppState.h"
#include "core/FileDialogs.h"
#include "images/JpegOptions.h"
#include "images/SaveChoices.h"
#include "images/SystemInfo.h"
#include "images/clsGIF.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace lobex {
namespace {

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
inline QImage IndexedPicture8(int width, int height, const std::vector<std::uint8_t>& indices) {
    QImage picture(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i) {
        table.append(qRgb(i, 255 - i, (i * 7) % 256));
    }
    picture.setColorTable(table);
    for (int y = 0; y < height; ++y) {
        std::copy_n(indices.begin() + y * width, width, picture.scanLine(y));
    }
    return picture;
}

using test::ChannelDistance;
using test::DifferingPixels;

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

class ImageWriterTest : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return folder.filePath(QLatin1String(name)); }
    ImageResult Write(const QImage& image, std::string_view format, const char* name) {
        return WriteImageFile(image, format, PathOf(name).toStdString(), state, jpeg, gif);
    }
    QImage ReadBack(const char* name, QByteArray* format = nullptr) const {
        QImageReader reader(PathOf(name));
        if (format != nullptr) {
            *format = reader.format();
        }
        return reader.read();
    }
    QStringList Files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir folder;
    AppState state;
    JpegOptions jpeg;
    clsGIF gif;
    QImage picture = KnownPicture();
};

TEST_F(ImageWriterTest, EveryFormatCodeWritesItsKindOfFileAndOthersNothing) {
    // The code (and the file's extension), the format read back, the tolerance per channel at
    // block centres (JPEG is lossy at quality 75).
    const std::tuple<const char*, const char*, int> cases[] = {
        {"bmp", "bmp", 0}, {"png", "png", 0}, {"gif", "gif", 0}, {"jpg", "jpeg", 24}};
    for (const auto& [code, readAs, tolerance] : cases) {
        SCOPED_TRACE(code);
        const std::string file = std::string("a.") + code;
        const ImageResult result = Write(picture, code, file.c_str());
        ASSERT_TRUE(result.ok && result.written) << result.error;
        QByteArray format;
        const QImage back = ReadBack(file.c_str(), &format);
        EXPECT_EQ(format, QByteArray(readAs));
        ASSERT_EQ(back.size(), picture.size());
        for (int by = 0; by * kBlock < picture.height(); ++by) {
            for (int bx = 0; bx * kBlock < picture.width(); ++bx) {
                const QRgb seen = back.pixel(std::min(bx * kBlock + kBlock / 2, back.width() - 1),
                                             std::min(by * kBlock + kBlock / 2, back.height() - 1));
                EXPECT_LE(ChannelDistance(seen, BlockColour(bx, by)), tolerance)
                    << "block " << bx << "," << by;
            }
        }
    }
    for (const char* code : {"emf", "JPG", "", "pppng"}) {
        const ImageResult result = Write(picture, code, "other.out");
        EXPECT_TRUE(result.ok && !result.written && result.error.empty()) << '"' << code << '"';
    }
    EXPECT_EQ(Files().size(), 4);
}

TEST_F(ImageWriterTest, PreviewsAreThe3DViewsMiddleTheDiagramToItsEdgesOrTheWholePicture) {
    // The 3D view shown, the pattern shown, the code, the file, the format read back, its size;
    // the 3D view comes first.
    const std::tuple<bool, bool, const char*, const char*, const char*, QSize> cases[] = {
        {true, true, "ppng", "p.png", "png", {320, 240}},
        {true, false, "pgif", "p.gif", "gif", {320, 240}},
        {true, false, "pjpg", "p.jpg", "jpeg", {320, 240}},
        {false, true, "ppng", "d.png", "png", {320, 214}},
        {false, false, "pjpg", "w.jpg", "jpeg", {520, 380}},
    };
    for (const auto& [view3D, pattern, code, file, readAs, size] : cases) {
        SCOPED_TRACE(file);
        state.View.View3DActive = view3D;
        state.View.PatternShown = pattern;
        ASSERT_TRUE(Write(picture, code, file).written);
        QByteArray format;
        const QImage back = ReadBack(file, &format);
        EXPECT_EQ(format, QByteArray(readAs));
        EXPECT_EQ(back.size(), size);
        if (view3D && format != "jpeg") {
            EXPECT_EQ(DifferingPixels(back, picture.copy(83, 23, 320, 240)), 0);
        }
    }
    // Green just inside the rectangle, magenta just outside: a crop one pixel off shows magenta.
    QImage framed = picture;
    QPainter painter(&framed);
    painter.fillRect(QRect(10, 12, 484, 324), Qt::magenta);
    painter.fillRect(QRect(12, 14, 480, 320), Qt::green);
    painter.fillRect(QRect(15, 17, 474, 314), Qt::white);
    painter.end();
    state.View.PatternShown = true;
    ASSERT_TRUE(Write(framed, "ppng", "edges.png").written);
    const QImage back = ReadBack("edges.png");
    ASSERT_EQ(back.size(), QSize(320, 214));
    for (const QPoint at : {QPoint(0, 0), QPoint(319, 0), QPoint(0, 213), QPoint(319, 213)}) {
        EXPECT_LE(ChannelDistance(back.pixel(at), qRgb(0, 255, 0)), 8) << at.x() << "," << at.y();
    }
    EXPECT_EQ(back.pixel(160, 107) & RGB_MASK, qRgb(255, 255, 255) & RGB_MASK);
}

TEST_F(ImageWriterTest, APreviewRectangleIsCutAtThePicturesEdgeAndFollowsItsDensity) {
    state.View.View3DActive = true;
    const QImage small = KnownPicture(200, 100, 20);
    ASSERT_TRUE(Write(small, "ppng", "small.png").written);
    const QImage back = ReadBack("small.png");
    ASSERT_EQ(back.size(), QSize(320, 240));
    EXPECT_EQ(DifferingPixels(back.copy(0, 0, 117, 77), small.copy(83, 23, 117, 77)), 0);
    // The rest takes the colour of the crop's bottom-left pixel.
    EXPECT_EQ(back.pixel(300, 200) & RGB_MASK, small.pixel(83, 99) & RGB_MASK);
    const ImageResult outside = Write(KnownPicture(60, 20), "ppng", "none.png");
    EXPECT_FALSE(outside.ok || QFile::exists(PathOf("none.png"))) << outside.error;

    // A high-density grab is cropped where the window shows the rectangle.
    QImage dense = KnownPicture(1040, 760, 2 * kBlock);
    dense.setDevicePixelRatio(2.0);
    ASSERT_TRUE(Write(dense, "ppng", "dense.png").written);
    const QImage crop = ReadBack("dense.png");
    ASSERT_EQ(crop.size(), QSize(320, 240));
    for (const QPoint at : {QPoint(20, 20), QPoint(300, 220)}) {
        const QPoint source = at + QPoint(83, 23);
        EXPECT_EQ(crop.pixel(at) & RGB_MASK,
                  BlockColour(source.x() / kBlock, source.y() / kBlock) & RGB_MASK)
            << at.x() << "," << at.y();
    }
}

// Every field of the JPEG options reaches the file. 320 x 240 set: the picture fits inside with
// its aspect kept; Progressive: a progressive frame (SOF2, FF C2) rather than the baseline SOF0.
TEST_F(ImageWriterTest, TheJpegOptionsShapeTheFile) {
    const QImage photo = ScreenLikePicture(678, 684);
    std::string error;
    const auto encode = [&](int quality) {
        return EncodeImage(photo, "jpg", {static_cast<std::int16_t>(quality), false, false}, error);
    };
    EXPECT_LT(encode(10).size(), encode(90).size());
    EXPECT_EQ(encode(500), encode(100)) << "beyond 100 the encoder gets 100";
    // Width, height, progressive, grey, the size written; a side left at 0 sets no limit.
    const std::tuple<int, int, bool, bool, QSize> cases[] = {
        {320, 240, false, true, {237, 240}},
        {320, 240, true, false, {237, 240}},
        {1356, 0, false, false, {1356, 1368}},
        {0, 0, false, false, {678, 684}},
    };
    for (const auto& [width, height, progressive, grey, written] : cases) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        jpeg = {75, progressive, grey, width, height};
        ASSERT_TRUE(Write(photo, "jpg", "sized.jpg").written);
        const QImage back = ReadBack("sized.jpg");
        EXPECT_EQ(back.size(), written);
        EXPECT_EQ(back.isGrayscale(), grey);
        QFile file(PathOf("sized.jpg"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.contains("\xFF\xC2"), progressive);
        EXPECT_EQ(bytes.contains("\xFF\xC0"), !progressive);
    }
    EXPECT_EQ(JpegSideFromText("abc"), 0);
    EXPECT_EQ(JpegSideFromText("-5"), 0);
}

TEST_F(ImageWriterTest, ABusyGifEncoderIsReportedRatherThanPassedOverInSilence) {
    ImageResult inner;
    QObject::connect(&gif, &clsGIF::Progress,
                     [&](std::int16_t) { inner = Write(picture, "gif", "inner.gif"); });
    ASSERT_TRUE(Write(picture, "gif", "outer.gif").written);
    EXPECT_FALSE(inner.ok || inner.written);
    EXPECT_NE(inner.error.find("busy"), std::string::npos) << inner.error;
    EXPECT_FALSE(QFile::exists(PathOf("inner.gif")));
}

// The rules of the JPEG options' fields; storing and showing them is tested through the dialog
// (tests/dialogs).
TEST(JpegOptions, QualityIsTheLeadingNumberRoundedHalfToEvenHeldIn16BitsAndSwitchesAreBooleans) {
    const std::pair<const char*, int> cases[] = {
        {" 85abc", 85}, {"abc", 0},        {"84.5", 84},       {"85.5", 86},
        {"-3", -3},     {"100000", 32767}, {"-1e999", -32768},
    };
    for (const auto& [text, quality] : cases) {
        EXPECT_EQ(JpegQualityFromText(text), quality) << '"' << text << '"';
    }
    // The encoder is given 0 to 100.
    const std::pair<int, int> given[] = {{75, 75}, {100, 100}, {101, 100}, {0, 0}, {-1, 0}};
    for (const auto& [quality, encoder] : given) {
        EXPECT_EQ(EncoderQuality(static_cast<std::int16_t>(quality)), encoder) << quality;
    }
    // The stored switches read as booleans.
    const std::pair<const char*, bool> switches[] = {
        {"TRUE", true}, {"false", false}, {"0", false},  {"-1", true},
        {"0.0", false}, {"yes", false},   {"1x", false},
    };
    for (const auto& [text, value] : switches) {
        EXPECT_EQ(SettingIsTrue(text), value) << '"' << text << '"';
    }
}

// Each filter entry's extension names the format its index selects, so a typed name and the
// filter agree (of two that share one, the chosen); other extensions name none, and without
// one the filter decides.
TEST(SaveChoices, TheTypedExtensionChoosesTheFormatTheFilterWouldHave) {
    // The filter, its formats, whether the 3D view is shown.
    const std::tuple<const char*, std::span<const NamedFormat>, bool> filters[] = {
        {kScreenSaveFilter, kScreenSaveFormats, false},
        {kGraphSave3DFilter, kGraphSave3DFormats, true},
        {kGraphSaveFilter, kGraphSaveFormats, false}};
    for (const auto& [filter, formats, view3D] : filters) {
        const auto entries = ParseFileFilter(filter);
        ASSERT_EQ(entries.size(), formats.size()) << filter;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string name = "C:\\Графики\\G" + entries[i].second.substr(1);
            const int index = FormatForFileName(name, formats, static_cast<int>(i) + 1).index;
            EXPECT_EQ(index, static_cast<int>(i) + 1) << name;
            const SaveFormat format = formats.size() == 3 ? ScreenSaveFormat(index)
                                                          : GraphSaveFormat(index, view3D, false);
            EXPECT_EQ(format.format, formats[i].format) << name;
        }
    }
    EXPECT_EQ(FormatForFileName("/home/u/turn.gif", kGraphSave3DFormats, 1).index, 5);
    EXPECT_EQ(FormatForFileName("/home/u/still.png", kGraphSave3DFormats, 6).index, 2);
    EXPECT_EQ(FormatForFileName("/home/u.d/graph", kGraphSaveFormats, 2).index, 2);
    EXPECT_EQ(FormatForFileName("/home/u/.graph", kGraphSaveFormats, 3).index, 3);
    const FormatOfName jpeg = FormatForFileName("/home/u/graph.JPEG", kGraphSaveFormats, 1);
    EXPECT_EQ(jpeg.index, 0);
    EXPECT_EQ(jpeg.extension, "jpeg");
    EXPECT_EQ(OfferedExtensions(kScreenSaveFormats), ".bmp, .png, .jpg, .jpeg");
}

TEST(CaptureFile, GetsANewTimedNameInThePicturesFolderEachTimeAndWaitsLetEventsRun) {
    QTemporaryDir folder;
    const std::string pictures = folder.path().toStdString();
    const QDateTime when(QDate(2026, 12, 7), QTime(14, 5, 9));
    const auto name = [&](const char* file) {
        return QDir::toNativeSeparators(folder.filePath(QLatin1String(file))).toStdString();
    };
    EXPECT_EQ(CaptureFilePath(pictures, when), name("capture-20261207-140509.bmp"));
    // Two captures within a second keep both pictures.
    QFile(QString::fromStdString(name("capture-20261207-140509.bmp"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(CaptureFilePath(pictures, when), name("capture-20261207-140509-2.bmp"));

    // Writability is tried in the folder itself, and the probe leaves nothing behind.
    QTemporaryDir empty;
    EXPECT_TRUE(FolderIsWritable(empty.path().toStdString()));
    EXPECT_FALSE(FolderIsWritable(empty.filePath(QStringLiteral("missing")).toStdString()));
    EXPECT_FALSE(FolderIsWritable(""));
    EXPECT_TRUE(QDir(empty.path()).isEmpty());
    // A wait lets events run and lasts longer than asked.
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    WaitMilliseconds(0);
    WaitMilliseconds(-5);
    EXPECT_EQ(fired, 1) << "even a zero wait lets pending events run";
    QTimer::singleShot(5, [&] { ++fired; });
    QElapsedTimer clock;
    clock.start();
    WaitMilliseconds(60);
    EXPECT_GT(clock.elapsed(), 60);
    EXPECT_EQ(fired, 2) << "the event loop must run while waiting";
}

QImage Filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(width, height, format);
    picture.fill(QColor::fromRgb(colour));
    return picture;
}

QByteArray Encode(const QImage& picture, bool gif89a = false, QRgb transparent = qRgb(0, 0, 0)) {
    const IndexedPicture reduced = ReduceToPalette(picture);
    return EncodeGif(reduced, gif89a, TransparentIndex(reduced.palette, transparent));
}

TEST(GifReduction, TrueColourUsesTheTableEightBitItsOwnPaletteAndGif89aTheTransparency) {
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
    const IndexedPicture own = ReduceToPalette(IndexedPicture8(4, 1, {2, 0, 1, 255}));
    EXPECT_EQ(own.indices, (std::vector<std::uint8_t>{2, 0, 1, 255}));
    EXPECT_EQ(own.palette[255], qRgb(255, 0, (255 * 7) % 256));
    QImage grey(2, 1, QImage::Format_Grayscale8);
    grey.scanLine(0)[0] = 17;
    grey.scanLine(0)[1] = 250;
    const IndexedPicture greyReduced = ReduceToPalette(grey);
    EXPECT_EQ(greyReduced.indices, (std::vector<std::uint8_t>{17, 250}));
    EXPECT_EQ(greyReduced.palette[250], qRgb(250, 250, 250));
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

TEST_F(ImageWriterTest, GifQtAndGiflibDecodeTheFilesToTheEncodersIndicesAndProgressIsReported) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> channel(0, 255);
    // Noisy rows learn a new string at every pixel: a clear code after every 253, mid-row.
    QImage noise(700, 40, QImage::Format_RGB32); // rows of 4 * 700 bytes, no padding
    const auto pixels = reinterpret_cast<QRgb*>(noise.bits());
    std::generate(pixels, pixels + 700 * 40,
                  [&] { return qRgb(channel(random), channel(random), channel(random)); });
    std::vector<std::uint8_t> indices(600 * 20);
    std::generate(indices.begin(), indices.end(),
                  [&] { return static_cast<std::uint8_t>(channel(random)); });
    const std::pair<const char*, QImage> pictures[] = {
        {"screen.gif", ScreenLikePicture(640, 400)},
        {"narrow.gif", ScreenLikePicture(1, 50)},
        {"flat.gif", ScreenLikePicture(333, 1)},
        {"noise.gif", noise},
        {"indexed.gif", IndexedPicture8(600, 20, indices)},
    };
    for (const auto& [name, original] : pictures) {
        const QString path = PathOf(name);
        const GifResult result = gif.SaveGIF(original, path.toStdString());
        ASSERT_EQ(result.outcome, GifOutcome::Written) << result.error;
        const IndexedPicture expected = ReduceToPalette(original);
        const QImage decoded = QImageReader(path).read();
        ASSERT_EQ(decoded.size(), original.size());
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
    // Progress is reported every tenth row, halves rounded to even.
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

TEST(GifAnimation, GiflibReadsEveryFrameLoopingForeverWithItsDelayAndOddFramesGiveNothing) {
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
    EXPECT_EQ(QSize(read.width, read.height), QSize(120, 90));
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

    // No frames, frames of different sizes or an empty picture give nothing.
    EXPECT_TRUE(EncodeAnimatedGif({}, 10).isEmpty());
    frames.push_back(ReduceToSharedPalette(TurningPictures(1, 0, {60, 90})).front());
    EXPECT_TRUE(EncodeAnimatedGif(frames, 10).isEmpty());
    EXPECT_TRUE(EncodeAnimatedGif(ReduceToSharedPalette({QImage()}), 10).isEmpty());
}

TEST(GifSharedPalette, FewColoursAreKeptExactlyManyStayCloseAndAllPicturesShareTheTable) {
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
    // A smooth field of 65536 colours around a flat ground that covers most pixels.
    QImage picture(256, 512, QImage::Format_RGB32);
    picture.fill(QColor(128, 128, 128));
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            picture.setPixel(x, y, qRgb(x, y, (x + y) / 2));
        }
    }
    const IndexedPicture field = ReduceToSharedPalette({picture}).front();
    double total = 0;
    int worst = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb original = picture.pixel(x, y);
            const QRgb shown = field.palette[field.indices[static_cast<std::size_t>(y * 256 + x)]];
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
    EXPECT_EQ(field.palette[field.indices.back()], qRgb(128, 128, 128));
}

} // namespace
} // namespace lobex
