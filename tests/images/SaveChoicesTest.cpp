#include "images/SaveChoices.h"
#include "core/FileDialogs.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lobex {
namespace {

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

} // namespace
} // namespace lobex
