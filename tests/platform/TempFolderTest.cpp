#include "platform/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace lobex {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

// Sets the variables the folder is chosen by, and puts back what was there.
class Environment {
public:
    explicit Environment(const std::map<std::string, std::optional<std::string>>& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
            Set(name, value);
        }
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            Set(name, value);
        }
    }

private:
    static void Set(const std::string& name, const std::optional<std::string>& value) {
        value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

class TempFolderTest : public ::testing::Test {
protected:
    std::string Sub(const char* name) const { return scratch.filePath(name).toStdString(); }
    std::string MakeSub(const char* name, mode_t mode = 0700) const {
        const std::string path = Sub(name);
        EXPECT_EQ(mkdir(path.c_str(), mode), 0);
        chmod(path.c_str(), mode);
        return path;
    }
    QStringList Entries(const std::string& folder) const {
        return QDir(QString::fromStdString(folder))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir scratch;
    const std::string uid = std::to_string(getuid());
};

// The per-user runtime folder comes first, unless it is open to others: then a private folder
// of the user's in TMPDIR, the same on every start.
TEST_F(TempFolderTest, IsThePrivateRuntimeFolderElseAPrivateOneInTmpdir) {
    const std::string runtime = MakeSub("run", 0755);
    const std::string temp = MakeSub("tmp", 0777);
    const Environment environment({{"XDG_RUNTIME_DIR", runtime}, {"TMPDIR", temp}});
    const std::string preferred = temp + "/lobex-" + uid;
    const TempFolder folder = GetTempFolder();
    EXPECT_EQ(folder.path, preferred + "/");
    EXPECT_EQ(ModeOf(preferred), 0700U);
    EXPECT_TRUE(Entries(runtime).isEmpty());
    // The same on the next start, and an existing folder of ours open to others and closed to
    // us is put right.
    chmod(preferred.c_str(), 0577);
    EXPECT_EQ(GetTempFolder().path, folder.path);
    EXPECT_EQ(ModeOf(preferred), 0700U);

    chmod(runtime.c_str(), 0700);
    EXPECT_EQ(GetTempFolder().path, runtime + "/lobex/");
}

TEST_F(TempFolderTest, APlantedNameLeadsEveryStartToTheSameFolderInTheUsersCache) {
    const std::string temp = MakeSub("tmp", 0777);
    const std::string elsewhere = MakeSub("elsewhere", 0777);
    const std::string home = MakeSub("home");
    // Someone else's link under our name in the shared folder.
    fs::create_directory_symlink(elsewhere, temp + "/lobex-" + uid);
    const Environment environment({{"XDG_RUNTIME_DIR", std::nullopt},
                                   {"XDG_CACHE_HOME", std::nullopt},
                                   {"TMPDIR", temp},
                                   {"HOME", home}});
    for (int start = 0; start < 3; ++start) {
        EXPECT_EQ(GetTempFolder().path, home + "/.cache/lobex/");
    }
    // Nothing accumulates beside the planted name, and its target is left alone.
    EXPECT_EQ(Entries(temp), QStringList{QString::fromStdString("lobex-" + uid)});
    EXPECT_TRUE(Entries(elsewhere).isEmpty());
    EXPECT_EQ(ModeOf(elsewhere), 0777U);
}

TEST_F(TempFolderTest, WhenNoPlaceWillDoEachOneTriedIsNamedWithItsReason) {
    // Below a plain file nothing can be made, not even by the superuser.
    ASSERT_TRUE(QFile(scratch.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly));
    const Environment environment({{"XDG_RUNTIME_DIR", std::nullopt},
                                   {"XDG_CACHE_HOME", std::nullopt},
                                   {"TMPDIR", Sub("file") + "/tmp"},
                                   {"HOME", Sub("file") + "/home"}});
    const TempFolder folder = GetTempFolder();
    EXPECT_EQ(folder.path, "");
    EXPECT_NE(folder.problem.find(Sub("file") + "/tmp/lobex-" + uid + ": "), std::string::npos)
        << folder.problem;
    EXPECT_NE(folder.problem.find(Sub("file") + "/home/.cache/lobex: "), std::string::npos)
        << folder.problem;
}

} // namespace
} // namespace lobex
