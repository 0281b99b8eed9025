#include "FileSizeLimit.h"
#include "FolderEntries.h"
#include "LoadHarness.h"
#include "core/AtomicFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace lobex {
namespace {

namespace fs = std::filesystem;
using test::FolderEntries;

TEST(AtomicFileSafety, AReadOnlyFileIsRefusedAndKeptAsItWas) {
    test::TempFolder folder;
    const fs::path target = folder.Path() / "export.csv";
    folder.Write("export.csv", "old contents");
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
    fs::permissions(target, readOnly);

    const FileWriteResult written = WriteAtomically(target, "new contents");
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.error, std::make_error_code(std::errc::permission_denied).message());
    EXPECT_EQ(test::ReadBytes(target), "old contents");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, readOnly);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"export.csv"});
}

// A link is replaced whatever it points at: the read-only mark of another file is not ours.
TEST(AtomicFileSafety, ALinkToAReadOnlyFileIsReplacedAndTheFileLeftAlone) {
    test::TempFolder folder;
    const fs::path victim = folder.Path() / "victim.txt";
    folder.Write("victim.txt", "someone else's");
    fs::permissions(victim, fs::perms::owner_read);
    const fs::path target = folder.Path() / "export.csv";
    fs::create_symlink(victim, target);

    ASSERT_TRUE(WriteAtomically(target, "exported").ok);
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(test::ReadBytes(target), "exported");
    EXPECT_EQ(test::ReadBytes(victim), "someone else's");
}

// A write killed half-way leaves its temporary file; the next write to the same target removes
// it, and nothing else: not a young one (a write under way), not a look-alike, not a link.
TEST(AtomicFileSafety, TheNextWriteRemovesOnlyOurOwnStaleTemporaries) {
    test::TempFolder folder;
    const std::string longName = std::string(200, 'n') + ".x";
    struct Case {
        std::string name;
        bool old;
        bool removed;
    };
    const std::vector<Case> cases{
        {".temp.x.k3j9a0qz.tmp", true, true},
        {".temp.x.00000000.tmp", true, true},
        {"." + longName.substr(0, 64) + ".abcdefgh.tmp", true, true},
        {".temp.x.k3j9a0qz.tmp.keep", true, false},
        {".temp.x.K3J9A0QZ.tmp", true, false},
        {".temp.x.k3j9a0q.tmp", true, false},
        {".temp.x.k3j9a0qzz.tmp", true, false},
        {".other.x.k3j9a0qz.tmp", true, false},
        {"temp.x.tmp", true, false},
        {".temp.x.young000.tmp", false, false},
    };
    const auto twoMinutesAgo = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const Case& c : cases) {
        const fs::path file = folder.Write(c.name, "left by a killed write");
        if (c.old) {
            fs::last_write_time(file, twoMinutesAgo);
        }
    }
    // Planted links and folders of our naming are not ours either.
    const fs::path victim = folder.Path() / "victim.txt";
    folder.Write("victim.txt", "someone else's");
    fs::create_symlink(victim, folder.Path() / ".temp.x.link0000.tmp");
    fs::create_directory(folder.Path() / ".temp.x.folder00.tmp");
    folder.Write(".temp.x.folder00.tmp/inside", "inside");
    fs::last_write_time(folder.Path() / ".temp.x.folder00.tmp", twoMinutesAgo);

    ASSERT_TRUE(WriteAtomically(folder.Path() / "temp.x", "model").ok);
    ASSERT_TRUE(WriteAtomically(folder.Path() / longName, "model").ok);

    std::vector<std::string> expected{"temp.x", longName, "victim.txt", ".temp.x.link0000.tmp",
                                      ".temp.x.folder00.tmp"};
    for (const Case& c : cases) {
        if (!c.removed) {
            expected.push_back(c.name);
        }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(folder.Path()), expected);
    EXPECT_EQ(test::ReadBytes(victim), "someone else's");
    EXPECT_EQ(test::ReadBytes(folder.Path() / ".temp.x.folder00.tmp" / "inside"), "inside");
}

// A second write to the same target starting while the first is under way (as when a window
// keeps painting during a long write): each reports how its own write went, and the one that
// ends last leaves its whole contents.
TEST(AtomicFileSafety, TwoWritesToOneTargetEachReportTheirOwnResult) {
    struct Case {
        const char* name;
        std::size_t outerSize;
        std::size_t innerSize;
    };
    // Beyond the cap a write fails, as on a full disk.
    constexpr std::size_t kCap = 4096;
    const Case cases[] = {
        {"both fit", 100, 200},
        {"the outer one fails, the inner one fits", 3 * kCap, 200},
        {"the outer one fits, the inner one fails", 100, 3 * kCap},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const fs::path target = folder.Path() / "temp.x";
        folder.Write("temp.x", "old contents");
        const std::string outer(c.outerSize, 'o');
        const std::string inner(c.innerSize, 'i');
        FileWriteResult innerResult;
        FileWriteResult outerResult;
        {
            test::FileSizeLimit limit(kCap);
            ASSERT_TRUE(limit.Active());
            outerResult = WriteAtomically(target, [&](const FileSink& sink) {
                sink(outer.substr(0, outer.size() / 2));
                innerResult = WriteAtomically(target, inner);
                sink(outer.substr(outer.size() / 2));
            });
        }
        const bool outerFits = c.outerSize < kCap;
        const bool innerFits = c.innerSize < kCap;
        EXPECT_EQ(outerResult.ok, outerFits) << c.name << ": " << outerResult.error;
        EXPECT_EQ(innerResult.ok, innerFits) << c.name << ": " << innerResult.error;
        const std::string expected = outerFits ? outer : innerFits ? inner : "old contents";
        EXPECT_EQ(test::ReadBytes(target), expected) << c.name;
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"temp.x"}) << c.name;
    }
}

} // namespace
} // namespace lobex
