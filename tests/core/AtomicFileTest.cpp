#include "core/AtomicFile.h"
#include "FileSizeLimit.h"
#include "FolderEntries.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(AtomicFile, ReplacesTheWholeFileWithWhatTheProducerGives) {
    struct Case {
        const char* name;
        std::string old; // empty: there is no file yet
        std::vector<std::string> pieces;
        std::string expected;
    };
    const Case cases[] = {
        {"a new file", "", {"first"}, "first"},
        {"a longer file by a shorter one", "first version, longer", {"second"}, "second"},
        {"a file by nothing", "something", {}, ""},
        {"a file by pieces, empty ones among them", "old", {"a,", "", "b\r\n", "c"}, "a,b\r\nc"},
        {"a large file",
         "small",
         {std::string(300000, 'x'), "end"},
         std::string(300000, 'x') + "end"},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const fs::path target = folder.Path() / "data.csv";
        if (!c.old.empty()) {
            folder.Write("data.csv", c.old);
        }
        const FileWriteResult written = WriteAtomically(target, [&](const FileSink& sink) {
            for (const std::string& piece : c.pieces) {
                sink(piece);
            }
        });
        EXPECT_TRUE(written.ok) << c.name << ": " << written.error;
        EXPECT_TRUE(written.error.empty()) << c.name;
        EXPECT_EQ(test::ReadBytes(target), c.expected) << c.name;
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"data.csv"}) << c.name;
    }
}

TEST(AtomicFile, AReplacedFileKeepsItsPermissions) {
    test::TempFolder folder;
    const fs::path target = folder.Path() / "model.x";
    folder.Write("model.x", "old");
    const fs::perms chosen = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, chosen);
    ASSERT_TRUE(WriteAtomically(target, "new").ok);
    EXPECT_EQ(test::ReadBytes(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, chosen);
}

TEST(AtomicFile, AFailureLeavesWhatWasThereAndNoTemporaryFile) {
    struct Case {
        const char* name;
        fs::path target; // in the test folder, which holds data.csv and folder/inside.txt
        std::function<void(const fs::path& folder, const FileSink& sink)> produce;
        std::vector<std::string> entries; // the folder's names afterwards
    };
    const auto bytes = [](const fs::path&, const FileSink& sink) {
        sink("new contents");
    };
    const std::vector<std::string> untouched{"data.csv", "folder"};
    const Case cases[] = {
        {"the target is a folder", "folder", bytes, untouched},
        {"the target's folder is missing", fs::path("missing") / "data.csv", bytes, untouched},
        {"no file name", "", bytes, untouched},
        {"a folder takes the target's place while the file is written (the rename fails)",
         "late.csv",
         [](const fs::path& folder, const FileSink& sink) {
             sink("new contents");
             fs::create_directory(folder / "late.csv");
         },
         {"data.csv", "folder", "late.csv"}},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        folder.Write("data.csv", "old contents");
        fs::create_directory(folder.Path() / "folder");
        folder.Write("folder/inside.txt", "inside");
        const fs::path target = c.target.empty() ? fs::path() : folder.Path() / c.target;
        const FileWriteResult written =
            WriteAtomically(target, [&](const FileSink& sink) { c.produce(folder.Path(), sink); });
        EXPECT_FALSE(written.ok) << c.name;
        EXPECT_FALSE(written.error.empty()) << c.name;
        EXPECT_EQ(FolderEntries(folder.Path()), c.entries) << c.name;
        EXPECT_EQ(test::ReadBytes(folder.Path() / "data.csv"), "old contents") << c.name;
        EXPECT_EQ(FolderEntries(folder.Path() / "folder"), std::vector<std::string>{"inside.txt"})
            << c.name;
    }
}

TEST(AtomicFile, AProducerThatThrowsLeavesTheOldFileAndNoTemporaryFile) {
    test::TempFolder folder;
    const fs::path target = folder.Path() / "data.csv";
    folder.Write("data.csv", "old contents");
    EXPECT_THROW(static_cast<void>(WriteAtomically(target,
                                                   [](const FileSink& sink) {
                                                       sink("half of it");
                                                       throw std::runtime_error("no memory");
                                                   })),
                 std::runtime_error);
    EXPECT_EQ(test::ReadBytes(target), "old contents");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"data.csv"});
}

// A full disk, made by capping the size of files the process may write: the cap is far below the
// contents, which either overflow the stream's buffer at once (the write comes up short) or sit in
// it until the flush (the flush fails).
TEST(AtomicFile, AShortWriteIsCaughtAndTheOldFileKept) {
    struct Case {
        const char* name;
        std::size_t size;
    };
    const Case cases[] = {
        {"contents larger than the stream's buffer", 300000},
        {"contents that fit the stream's buffer", 3000},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const fs::path target = folder.Path() / "model.x";
        folder.Write("model.x", "old contents");
        FileWriteResult written;
        {
            test::FileSizeLimit limit(1024);
            ASSERT_TRUE(limit.Active());
            written = WriteAtomically(target, std::string(c.size, 'x'));
        }
        EXPECT_FALSE(written.ok) << c.name;
        EXPECT_EQ(written.error, std::make_error_code(std::errc::file_too_large).message())
            << c.name;
        EXPECT_EQ(test::ReadBytes(target), "old contents") << c.name;
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"model.x"}) << c.name;
    }
}

TEST(AtomicFile, ALinkAtTheTargetIsReplacedNotFollowed) {
    struct Case {
        const char* name;
        bool victimExists; // the link points at a file, or at a name nothing holds
    };
    for (const Case& c : {Case{"a link to a file", true}, Case{"a dangling link", false}}) {
        test::TempFolder folder;
        const fs::path victim = folder.Path() / "victim.txt";
        if (c.victimExists) {
            folder.Write("victim.txt", "someone else's");
        }
        const fs::path target = folder.Path() / "export.csv";
        fs::create_symlink(victim, target);
        ASSERT_TRUE(WriteAtomically(target, "exported").ok) << c.name;
        EXPECT_FALSE(fs::is_symlink(target)) << c.name;
        EXPECT_EQ(test::ReadBytes(target), "exported") << c.name;
        EXPECT_EQ(fs::exists(victim), c.victimExists) << c.name;
        if (c.victimExists) {
            EXPECT_EQ(test::ReadBytes(victim), "someone else's") << c.name;
        }
    }
}

TEST(AtomicFile, ATakenTemporaryNameIsNeverWrittenThrough) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& taken, const fs::path& victim)> plant;
    };
    const Case cases[] = {
        {"a link to another file",
         [](const fs::path& taken, const fs::path& victim) {
             fs::create_symlink(victim, taken);
         }},
        {"a dangling link",
         [](const fs::path& taken, const fs::path& victim) {
             fs::remove(victim);
             fs::create_symlink(victim, taken);
         }},
        {"a file",
         [](const fs::path& taken, const fs::path&) {
             std::ofstream(taken, std::ios::binary) << "planted";
         }},
        {"a folder",
         [](const fs::path& taken, const fs::path&) {
             fs::create_directory(taken);
         }},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const fs::path target = folder.Path() / "data.csv";
        const fs::path taken = folder.Path() / "taken";
        const fs::path victim = folder.Path() / "victim.txt";
        folder.Write("victim.txt", "someone else's");
        c.plant(taken, victim);
        const bool victimExisted = fs::exists(victim);
        const auto before = FolderEntries(folder.Path());

        // The planted name is offered first, then a free one.
        int asked = 0;
        const auto plantedFirst = [&](const fs::path& forTarget) {
            ++asked;
            return asked == 1 ? taken : RandomTemporaryName(forTarget);
        };
        const FileWriteResult written = WriteAtomically(
            target, [](const FileSink& sink) { sink("exported"); }, plantedFirst);
        ASSERT_TRUE(written.ok) << c.name << ": " << written.error;
        EXPECT_EQ(asked, 2) << c.name;
        EXPECT_EQ(test::ReadBytes(target), "exported") << c.name;
        EXPECT_EQ(fs::exists(victim), victimExisted) << c.name;
        if (victimExisted) {
            EXPECT_EQ(test::ReadBytes(victim), "someone else's") << c.name;
        }
        if (fs::is_regular_file(fs::symlink_status(taken))) {
            EXPECT_EQ(test::ReadBytes(taken), "planted") << c.name;
        }
        std::vector<std::string> after = before;
        after.push_back("data.csv");
        std::sort(after.begin(), after.end());
        EXPECT_EQ(FolderEntries(folder.Path()), after) << c.name;

        // Only taken names: the write gives up, and still nothing is written through.
        const FileWriteResult refused = WriteAtomically(
            target, [](const FileSink& sink) { sink("again"); },
            [&](const fs::path&) { return taken; });
        EXPECT_FALSE(refused.ok) << c.name;
        EXPECT_FALSE(refused.error.empty()) << c.name;
        EXPECT_EQ(test::ReadBytes(target), "exported") << c.name;
        EXPECT_EQ(fs::exists(victim), victimExisted) << c.name;
        EXPECT_EQ(FolderEntries(folder.Path()), after) << c.name;
    }
}

TEST(AtomicFile, TemporaryNamesAreHiddenBesideTheTargetDifferAndFit) {
    const fs::path target = fs::path("folder") / "export.csv";
    const fs::path first = RandomTemporaryName(target);
    const fs::path second = RandomTemporaryName(target);
    EXPECT_EQ(first.parent_path(), target.parent_path());
    EXPECT_EQ(first.filename().string().rfind(".export.csv.", 0), 0U) << first;
    EXPECT_EQ(first.extension(), ".tmp");
    EXPECT_NE(first, second);

    // A name as long as names get still has room for its temporary file.
    test::TempFolder folder;
    const fs::path longest = folder.Path() / (std::string(251, 'n') + ".csv");
    ASSERT_TRUE(WriteAtomically(longest, "long").ok);
    EXPECT_EQ(test::ReadBytes(longest), "long");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{longest.filename().string()});
}

} // namespace
} // namespace lobex
