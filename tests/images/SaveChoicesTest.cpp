#include "images/SaveChoices.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lobex {
namespace {

TEST(SaveChoices, FormatsFollowTheFilterIndexAndWhatTheGraphAreaShows) {
    struct Case {
        const char* what; // screen, 3D view, polar or rectangular graph
        int index;
        const char* format;
        bool jpegOptions;
        bool graphChoice;
    };
    const Case cases[] = {
        {"screen", 1, "bmp", false, false},      {"screen", 2, "png", true, false},
        {"screen", 4, "", false, false},         {"3D", 3, "jpg", true, false},
        {"3D", 4, "glb", false, false},          {"3D", 5, "turntable-gif", false, false},
        {"polar", 4, "svg", false, true},        {"polar", 6, "", false, false},
        {"rectangular", 5, "pdf", false, false},
    };
    for (const Case& c : cases) {
        const std::string what = c.what;
        const SaveFormat got = what == "screen"
                                   ? ScreenSaveFormat(c.index)
                                   : GraphSaveFormat(c.index, what == "3D", what != "rectangular");
        EXPECT_EQ(got.format, c.format) << what << " index " << c.index;
        EXPECT_EQ(got.showJpegOptions, c.jpegOptions) << what << " index " << c.index;
        EXPECT_EQ(got.showGraphChoice, c.graphChoice) << what << " index " << c.index;
    }
    EXPECT_STREQ(kScreenSaveFilter, "BMP File (*.bmp)|*.bmp|Portable Network Graphics "
                                    "(*.png)|*.png|JPEG File (*.jpg)|*.jpg");
    // The 3D view's first three are the screen's.
    EXPECT_EQ(std::string(kGraphSave3DFilter).rfind(kScreenSaveFilter, 0), 0u);
    const std::string graph = kGraphSaveFilter;
    EXPECT_EQ(graph.rfind("Bitmap File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|"
                          "Enhanced Metafile (*.emf)|*.emf|",
                          0),
              0u);
    EXPECT_LT(graph.find("*.svg"), graph.find("*.pdf"));
}

// The extension typed decides among the formats offered; none typed, the filter's choice.
TEST(SaveChoices, TheTypedExtensionChoosesTheFormat) {
    struct Case {
        const char* path;
        int chosen;
        int index;
        const char* extension;
    };
    const Case cases[] = {
        {"/home/u/graph.svg", 1, 4, "svg"}, {"C:\\MMANA\\Graph.PDF", 1, 5, "pdf"},
        {"/home/u/graph", 2, 2, ""},        {"/home/u/.graph", 3, 3, ""},
        {"/home/u.d/graph", 1, 1, ""},      {"/home/u/graph.jpg", 1, 0, "jpg"},
        {"/home/u/graph.", 1, 0, ""},
    };
    for (const Case& c : cases) {
        const FormatOfName got = FormatForFileName(c.path, kGraphSaveFormats, c.chosen);
        EXPECT_EQ(got.index, c.index) << c.path;
        EXPECT_EQ(got.extension, c.extension) << c.path;
    }
    EXPECT_EQ(FormatForFileName("shot.JPEG", kScreenSaveFormats, 1).index, 3);
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

    // The XDG pictures folder, made when missing.
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", empty.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", empty.filePath(QStringLiteral("config")).toLocal8Bit());
    const std::string made = UserPicturesFolder();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    EXPECT_EQ(made,
              QDir::toNativeSeparators(empty.filePath(QStringLiteral("Pictures"))).toStdString());
    EXPECT_TRUE(QDir(QString::fromStdString(made)).exists());
}

} // namespace
} // namespace lobex
