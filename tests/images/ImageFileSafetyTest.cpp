#include "FileSizeLimit.h"
#include "core/AppState.h"
#include "images/ImageWriter.h"
#include "images/clsGIF.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace lobex {
namespace {

namespace fs = std::filesystem;

// A small picture of noise, which no format compresses much: every format's file is a few KiB,
// the size a short write used to cut.
QImage SmallPicture() {
    QImage picture(48, 40, QImage::Format_RGB32);
    std::uint32_t noise = 12345;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            noise = noise * 1103515245U + 12345U;
            picture.setPixel(x, y, 0xFF000000U | (noise >> 8));
        }
    }
    return picture;
}

fs::perms ModeBits(const QString& path) {
    return fs::status(path.toStdString()).permissions() & fs::perms::all;
}

class ImageFileSafetyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    QString Path(const QString& name) const { return folder.filePath(name); }
    QStringList Files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    ImageResult Write(const char* format, const QString& path) {
        return WriteImageFile(SmallPicture(), format, path.toStdString(), state, jpeg, gif);
    }
    void PlantOldFile(const QString& path) const {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    AppState state;
    JpegOptions jpeg;
    clsGIF gif;
    // The previews go through the same writers.
    const std::vector<const char*> formats{"bmp", "png", "jpg", "gif"};
};

// A full disk (the file-size limit at half the file) and a read-only target fail and keep the
// old file; a link at the target is replaced, not written through.
TEST_F(ImageFileSafetyTest, FullDiskReadOnlyAndLinkedTargetsLeaveOtherFilesAlone) {
    const QString victim = Path(QStringLiteral("victim.txt"));
    PlantOldFile(victim);
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::others_read;
    for (const char* format : formats) {
        SCOPED_TRACE(format);
        const QString path = Path(QStringLiteral("picture.") + format);
        ASSERT_TRUE(Write(format, path).written);
        const qint64 size = QFile(path).size();
        ASSERT_GT(size, 200);
        PlantOldFile(path);
        ImageResult full;
        {
            test::FileSizeLimit limit(static_cast<rlim_t>(size / 2));
            ASSERT_TRUE(limit.Active());
            full = Write(format, path);
        }
        EXPECT_FALSE(full.ok || full.written);
        EXPECT_EQ(full.error, "File too large");
        EXPECT_EQ(ReadAll(path), "old contents");
        EXPECT_EQ(Files().size(), 2);

        fs::permissions(path.toStdString(), readOnly);
        const ImageResult refused = Write(format, path);
        EXPECT_EQ(refused.error, "Permission denied");
        EXPECT_EQ(ReadAll(path), "old contents");
        EXPECT_EQ(ModeBits(path), readOnly);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);

        fs::create_symlink(victim.toStdString(), path.toStdString());
        EXPECT_TRUE(Write(format, path).written);
        EXPECT_FALSE(fs::is_symlink(path.toStdString()));
        EXPECT_EQ(ReadAll(victim), "old contents");
        QFile::remove(path);
    }
}

} // namespace
} // namespace lobex
