#include "core/AtomicFile.h"
#include "FileSizeLimit.h"
#include "FolderEntries.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace lobex {
namespace {

namespace fs = std::filesystem;
using test::FolderEntries;
const std::vector<std::string> kOnlyTarget{"data.csv"};

// A folder holding data.csv with "old contents".
struct OldFile {
    test::TempFolder folder;
    fs::path target = folder.Write("data.csv", "old contents");
};

TEST(AtomicFile, ReplacesTheWholeFileKeepingItsPermissions) {
    OldFile f;
    const fs::perms chosen = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(f.target, chosen);
    ASSERT_TRUE(WriteAtomically(f.target, [](const FileSink& sink) {
                    sink("a,");
                    sink("");
                    sink("b");
                }).ok);
    EXPECT_EQ(test::ReadBytes(f.target), "a,b");
    EXPECT_EQ(fs::status(f.target).permissions() & fs::perms::all, chosen);
    EXPECT_EQ(FolderEntries(f.folder.Path()), kOnlyTarget);
}

TEST(AtomicFile, TellsOneFileUnderEveryNameFromAnotherOfTheSameBytes) {
    OldFile f;
    const fs::path twin = f.folder.Write("twin.csv", "old contents");
    fs::create_symlink(f.target, f.folder.Path() / "link");
    fs::create_hard_link(f.target, f.folder.Path() / "hard");
    const std::pair<fs::path, bool> cases[] = {
        {f.target, true},
        {f.folder.Path() / "link", true},
        {f.folder.Path() / "hard", true},
        {f.folder.Path() / ".." / f.folder.Path().filename() / "data.csv", true},
        {twin, false},
        {f.folder.Path() / "missing.csv", false},
    };
    for (const auto& [name, same] : cases) {
        EXPECT_EQ(IsSameFile(name, f.target), same) << name;
    }
}

TEST(AtomicFile, AFailureLeavesWhatWasThereAndNoTemporaryFile) {
    const auto bytes = [](const fs::path&, const FileSink& sink) {
        sink("new contents");
    };
    const std::tuple<const char*, fs::path, std::function<void(const fs::path&, const FileSink&)>,
                     std::vector<std::string>>
        cases[] = {
            {"the target's folder is missing", fs::path("missing") / "data.csv", bytes,
             kOnlyTarget},
            {"a folder takes the target's place while the file is written",
             "late.csv",
             [](const fs::path& folder, const FileSink& sink) {
                 sink("new contents");
                 fs::create_directory(folder / "late.csv");
             },
             {"data.csv", "late.csv"}},
        };
    for (const auto& [what, name, produce, entries] : cases) {
        OldFile f;
        const FileWriteResult written = WriteAtomically(
            f.folder.Path() / name, [&](const FileSink& sink) { produce(f.folder.Path(), sink); });
        EXPECT_FALSE(written.ok) << what;
        EXPECT_FALSE(written.error.empty()) << what;
        EXPECT_EQ(FolderEntries(f.folder.Path()), entries) << what;
    }
    OldFile f;
    EXPECT_THROW(static_cast<void>(WriteAtomically(f.target,
                                                   [](const FileSink& sink) {
                                                       sink("half of it");
                                                       throw std::runtime_error("no memory");
                                                   })),
                 std::runtime_error);
    EXPECT_EQ(test::ReadBytes(f.target), "old contents");
    EXPECT_EQ(FolderEntries(f.folder.Path()), kOnlyTarget);
}

// A full disk, made by capping the size of files the process may write: the contents either
// overflow the stream's buffer at once or sit in it until the flush.
TEST(AtomicFile, AShortWriteIsCaughtAndTheOldFileKept) {
    for (std::size_t size : {300000, 3000}) {
        OldFile f;
        FileWriteResult written;
        {
            test::FileSizeLimit limit(1024);
            ASSERT_TRUE(limit.Active());
            written = WriteAtomically(f.target, std::string(size, 'x'));
        }
        EXPECT_EQ(written.error, std::make_error_code(std::errc::file_too_large).message()) << size;
        EXPECT_EQ(test::ReadBytes(f.target), "old contents") << size;
        EXPECT_EQ(FolderEntries(f.folder.Path()), kOnlyTarget) << size;
    }
}

TEST(AtomicFile, AReadOnlyFileIsRefusedAndALinkToOneIsReplaced) {
    OldFile f;
    fs::permissions(f.target, fs::perms::owner_read);
    const FileWriteResult written = WriteAtomically(f.target, "new contents");
    EXPECT_EQ(written.error, std::make_error_code(std::errc::permission_denied).message());
    EXPECT_EQ(test::ReadBytes(f.target), "old contents");
    EXPECT_EQ(FolderEntries(f.folder.Path()), kOnlyTarget);

    // The read-only mark of the file a link points at is not ours; the link is replaced.
    const fs::path link = f.folder.Path() / "export.csv";
    fs::create_symlink(f.target, link);
    ASSERT_TRUE(WriteAtomically(link, "exported").ok);
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(link), "exported");
    EXPECT_EQ(test::ReadBytes(f.target), "old contents");
}

TEST(AtomicFile, ATakenTemporaryNameIsNeverWrittenThrough) {
    const std::function<void(const fs::path&, const fs::path&)> plants[] = {
        [](const fs::path& taken, const fs::path& victim) { fs::create_symlink(victim, taken); },
        [](const fs::path& taken, const fs::path&) { fs::create_directory(taken); },
    };
    for (const auto& plant : plants) {
        OldFile f;
        const fs::path taken = f.folder.Path() / "taken";
        const fs::path victim = f.folder.Write("victim.txt", "someone else's");
        plant(taken, victim);
        int asked = 0; // the planted name is offered first, then a free one
        const FileWriteResult written = WriteAtomically(
            f.target, [](const FileSink& sink) { sink("exported"); },
            [&](const fs::path& forTarget) {
                return ++asked == 1 ? taken : RandomTemporaryName(forTarget);
            });
        ASSERT_TRUE(written.ok) << written.error;
        EXPECT_EQ(test::ReadBytes(f.target), "exported");
        EXPECT_EQ(test::ReadBytes(victim), "someone else's");
        // Only taken names: the write gives up.
        EXPECT_FALSE(WriteAtomically(
                         f.target, [](const FileSink& sink) { sink("again"); },
                         [&](const fs::path&) { return taken; })
                         .ok);
        EXPECT_EQ(test::ReadBytes(victim), "someone else's");
        EXPECT_EQ(FolderEntries(f.folder.Path()),
                  (std::vector<std::string>{"data.csv", "taken", "victim.txt"}));
    }
}

// A write killed half-way leaves its temporary file; the next write to the same target removes
// it, and nothing else: not a young one (a write under way), not a look-alike, not a link.
TEST(AtomicFile, TheNextWriteRemovesOnlyOurOwnStaleTemporaries) {
    test::TempFolder folder;
    const std::string longName = std::string(251, 'n') + ".x"; // still room for its temporary
    const std::pair<std::string, bool> cases[] = {
        {".temp.x.k3j9a0qz.tmp", true},
        {"." + longName.substr(0, 64) + ".abcdefgh.tmp", true},
        {".temp.x.k3j9a0qz.tmp.keep", false},
        {".temp.x.K3J9A0QZ.tmp", false},
        {".temp.x.k3j9a0q.tmp", false},
        {".other.x.k3j9a0qz.tmp", false},
    };
    const auto twoMinutesAgo = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    std::vector<std::string> expected{"temp.x", longName, ".temp.x.link0000.tmp",
                                      ".temp.x.young000.tmp"};
    for (const auto& [name, removed] : cases) {
        fs::last_write_time(folder.Write(name, "left by a killed write"), twoMinutesAgo);
        if (!removed) {
            expected.push_back(name);
        }
    }
    folder.Write(".temp.x.young000.tmp", "a write under way");
    const fs::path victim = folder.Write("victim.txt", "someone else's");
    fs::last_write_time(victim, twoMinutesAgo); // the link looks stale through it
    expected.push_back("victim.txt");
    fs::create_symlink(victim, folder.Path() / ".temp.x.link0000.tmp");

    ASSERT_TRUE(WriteAtomically(folder.Path() / "temp.x", "model").ok);
    ASSERT_TRUE(WriteAtomically(folder.Path() / longName, "model").ok);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(folder.Path()), expected);
    EXPECT_EQ(test::ReadBytes(victim), "someone else's");
}

// A second write to the same target starting while the first is under way (a window painting
// during a long write): each reports its own result, and the one that ends last leaves its whole
// contents.
TEST(AtomicFile, TwoWritesToOneTargetEachReportTheirOwnResult) {
    constexpr std::size_t kCap = 4096; // beyond it a write fails, as on a full disk
    const std::pair<std::size_t, std::size_t> cases[] = {{100, 200}, {3 * kCap, 200}};
    for (const auto& [outerSize, innerSize] : cases) {
        OldFile f;
        const std::string outer(outerSize, 'o');
        const std::string inner(innerSize, 'i');
        FileWriteResult innerResult;
        FileWriteResult outerResult;
        {
            test::FileSizeLimit limit(kCap);
            ASSERT_TRUE(limit.Active());
            outerResult = WriteAtomically(f.target, [&](const FileSink& sink) {
                sink(outer.substr(0, outer.size() / 2));
                innerResult = WriteAtomically(f.target, inner);
                sink(outer.substr(outer.size() / 2));
            });
        }
        EXPECT_EQ(outerResult.ok, outerSize < kCap) << outerSize;
        EXPECT_TRUE(innerResult.ok) << outerSize;
        EXPECT_EQ(test::ReadBytes(f.target), outerSize < kCap ? outer : inner);
        EXPECT_EQ(FolderEntries(f.folder.Path()), kOnlyTarget);
    }
}

} // namespace
} // namespace lobex
