#include "platform/TempFolder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace lobex {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0);
    return info.st_mode & 0777;
}

TEST(TempFolder, IsAPrivateFolderOfTheUserEndingInASeparatorOnEveryStart) {
    QTemporaryDir base;
    const std::string preferred = base.path().toStdString() + "/lobex-" + std::to_string(getuid());
    const std::string folder = PrivateTempFolder(base.path().toStdString());
    EXPECT_EQ(folder, preferred + "/");
    EXPECT_EQ(ModeOf(preferred), 0700U);
    // The same on the next start, and an existing folder of ours is closed to others.
    chmod(preferred.c_str(), 0777);
    EXPECT_EQ(PrivateTempFolder(base.path().toStdString() + "/"), folder);
    EXPECT_EQ(ModeOf(preferred), 0700U);
}

TEST(TempFolder, ALinkPlantedUnderItsNameIsNotFollowed) {
    QTemporaryDir base;
    QTemporaryDir elsewhere;
    const std::string preferred = base.path().toStdString() + "/lobex-" + std::to_string(getuid());
    fs::create_directory_symlink(elsewhere.path().toStdString(), preferred);
    chmod(elsewhere.path().toLocal8Bit().constData(), 0777);
    const std::string folder = PrivateTempFolder(base.path().toStdString());
    EXPECT_NE(folder, preferred + "/");
    EXPECT_NE(fs::canonical(folder), fs::canonical(elsewhere.path().toStdString()));
    EXPECT_EQ(ModeOf(folder.substr(0, folder.size() - 1)), 0700U);
    EXPECT_EQ(ModeOf(elsewhere.path().toStdString()), 0777U); // the target is left alone
}

} // namespace
} // namespace lobex
