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

TEST(CaptureFile, GoesToTheProgramFolderWhenWritableElseThePicturesFolder) {
    EXPECT_EQ(CaptureFilePath("/opt/lobex/", true, "/home/u/Pictures"), "/opt/lobex/capture.bmp");
    EXPECT_EQ(
        CaptureFilePath("/opt/lobex/", false, "/home/u/Pictures"),
        QDir::toNativeSeparators(QStringLiteral("/home/u/Pictures/capture.bmp")).toStdString());
    EXPECT_EQ(CaptureFilePath("/opt/lobex/", false, ""), "/opt/lobex/capture.bmp");

    // Writability is tried in the folder itself, and the probe leaves nothing behind.
    QTemporaryDir folder;
    EXPECT_TRUE(FolderIsWritable(folder.path().toStdString()));
    EXPECT_FALSE(FolderIsWritable(folder.filePath(QStringLiteral("missing")).toStdString()));
    EXPECT_FALSE(FolderIsWritable(""));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    const std::string appFolder = QDir::toNativeSeparators(folder.path() + "/").toStdString();
    EXPECT_EQ(CaptureFileLocation(appFolder), appFolder + "capture.bmp");
}

} // namespace
} // namespace lobex
