#include "images/SaveChoices.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lobex {
namespace {

struct FormatCase {
    int index;
    const char* format;
    bool jpegOptions;
    bool graphChoice;
};

void ExpectFormat(const SaveFormat& got, const FormatCase& want, const char* what) {
    EXPECT_EQ(got.format, want.format) << what << " index " << want.index;
    EXPECT_EQ(got.showJpegOptions, want.jpegOptions) << what << " index " << want.index;
    EXPECT_EQ(got.showGraphChoice, want.graphChoice) << what << " index " << want.index;
}

TEST(SaveChoices, ScreenSaveAsksForJpegOptionsBeforePngAndJpeg) {
    const FormatCase cases[] = {{0, "", false, false},   {1, "bmp", false, false},
                                {2, "png", true, false}, {3, "jpg", true, false},
                                {4, "", false, false},   {-1, "", false, false}};
    for (const FormatCase& c : cases) {
        ExpectFormat(ScreenSaveFormat(c.index), c, "screen");
    }
}

TEST(SaveChoices, GraphSaveFormatsDependOnWhatTheGraphAreaShows) {
    const FormatCase view3D[] = {{0, "", false, false},    {1, "bmp", false, false},
                                 {2, "png", false, false}, {3, "jpg", true, false},
                                 {4, "", false, false},    {5, "", false, false}};
    for (const FormatCase& c : view3D) {
        ExpectFormat(GraphSaveFormat(c.index, true, true), c, "3D view");
    }
    const FormatCase polar[] = {{1, "bmp", false, false}, {2, "png", false, false},
                                {3, "emf", false, true},  {4, "svg", false, true},
                                {5, "pdf", false, true},  {6, "", false, false}};
    for (const FormatCase& c : polar) {
        ExpectFormat(GraphSaveFormat(c.index, false, true), c, "polar");
    }
    const FormatCase rectangular[] = {
        {3, "emf", false, false}, {4, "svg", false, false}, {5, "pdf", false, false}};
    for (const FormatCase& c : rectangular) {
        ExpectFormat(GraphSaveFormat(c.index, false, false), c, "rectangular");
    }
}

TEST(SaveChoices, FiltersListTheEntriesInIndexOrder) {
    EXPECT_STREQ(kScreenSaveFilter, "BMP File (*.bmp)|*.bmp|Portable Network Graphics "
                                    "(*.png)|*.png|JPEG File (*.jpg)|*.jpg");
    const std::string graph = kGraphSaveFilter;
    EXPECT_EQ(graph.rfind("Bitmap File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|"
                          "Enhanced Metafile (*.emf)|*.emf|",
                          0),
              0u);
    EXPECT_LT(graph.find("*.svg"), graph.find("*.pdf"));
}

TEST(CaptureFile, GoesToTheProgramFolderOrElseThePicturesFolder) {
    EXPECT_EQ(CaptureFilePath("/opt/lobex/", true, "/home/u/Pictures"), "/opt/lobex/capture.bmp");
    EXPECT_EQ(
        CaptureFilePath("/opt/lobex/", false, "/home/u/Pictures"),
        QDir::toNativeSeparators(QStringLiteral("/home/u/Pictures/capture.bmp")).toStdString());
    EXPECT_EQ(CaptureFilePath("/opt/lobex/", false, ""), "/opt/lobex/capture.bmp");
}

TEST(CaptureFile, WritabilityIsTriedInTheFolderItself) {
    QTemporaryDir folder;
    EXPECT_TRUE(FolderIsWritable(folder.path().toStdString()));
    EXPECT_FALSE(FolderIsWritable(folder.filePath(QStringLiteral("missing")).toStdString()));
    EXPECT_FALSE(FolderIsWritable(""));
    EXPECT_TRUE(QDir(folder.path()).isEmpty()) << "the probe leaves nothing behind";

    const std::string appFolder = QDir::toNativeSeparators(folder.path() + "/").toStdString();
    EXPECT_EQ(CaptureFileLocation(appFolder), appFolder + "capture.bmp");
}

TEST(CaptureFile, AnUnwritableProgramFolderSendsTheCaptureToTheUsersPictures) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());

    const std::string location = CaptureFileLocation("/no/such/program/folder/");
    const QFileInfo info(QString::fromStdString(location));
    EXPECT_EQ(info.fileName(), QStringLiteral("capture.bmp"));
    EXPECT_TRUE(info.absolutePath().startsWith(home.path())) << location;
    EXPECT_TRUE(FolderIsWritable(info.absolutePath().toStdString()));

    qputenv("HOME", oldHome);
    if (oldConfig.isEmpty()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
}

} // namespace
} // namespace lobex
