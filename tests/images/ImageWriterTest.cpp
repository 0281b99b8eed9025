#include "images/ImageWriter.h"
#include "GifFile.h"
#include "ImageCompare.h"
#include "core/AppState.h"
#include "core/FileDialogs.h"
#include "images/JpegOptions.h"
#include "images/SaveChoices.h"
#include "images/SystemInfo.h"
#include "images/clsGIF.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace lobex {
namespace {

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

TEST_F(ImageWriterTest, PreviewsAreThe3DViewsMiddleOrTheDiagramScaledOrTheWholePicture) {
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
}

TEST_F(ImageWriterTest, ThePatternPreviewEdgesAreTheRectanglesEdges) {
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
    const QImage photo = test::ScreenLikePicture(678, 684);
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
    struct Filter {
        const char* filter;
        std::span<const NamedFormat> formats;
        bool view3D;
    };
    const Filter filters[] = {{kScreenSaveFilter, kScreenSaveFormats, false},
                              {kGraphSave3DFilter, kGraphSave3DFormats, true},
                              {kGraphSaveFilter, kGraphSaveFormats, false}};
    for (const Filter& f : filters) {
        const auto entries = ParseFileFilter(f.filter);
        ASSERT_EQ(entries.size(), f.formats.size()) << f.filter;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string name = "C:\\Графики\\G" + entries[i].second.substr(1);
            const int index = FormatForFileName(name, f.formats, static_cast<int>(i) + 1).index;
            EXPECT_EQ(index, static_cast<int>(i) + 1) << name;
            const SaveFormat format = f.formats.size() == 3
                                          ? ScreenSaveFormat(index)
                                          : GraphSaveFormat(index, f.view3D, false);
            EXPECT_EQ(format.format, f.formats[i].format) << name;
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

TEST(CaptureFile, GetsANewTimedNameInThePicturesFolderEachTime) {
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
}

TEST(WaitMilliseconds, EventsRunDuringTheWaitAndItLastsLongerThanAsked) {
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

} // namespace
} // namespace lobex
