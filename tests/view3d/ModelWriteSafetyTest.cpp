#include "FileSizeLimit.h"
#include "FolderEntries.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "view3d/PatternModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace lobex {
namespace {

namespace fs = std::filesystem;
using test::FolderEntries;

// A model writer of its own, writing to the shared folder's temp.x.
struct ModelWriter {
    ModelWriter(const fs::path& target, FarFieldGrid grid) {
        state.Paths.TempModelFile = target.string();
        state.Loaded.FarField = std::move(grid);
    }
    bool Build() { return BuildPatternVertices(context); }

    AppState state;
    View3DState view;
    test::RecordingMessages messages;
    View3DContext context{state, view, messages};
};

using WriteModel = bool (*)(View3DContext&);
const std::pair<const char*, WriteModel> kWriters[] = {
    {"binary", WriteBinaryModel},
    {"text", WriteTextModel},
};

FarFieldGrid Coarse() {
    return test::MakeGrid(10.0f, 10.0f, [](float zenith, float) { return zenith / 18.0f; });
}

// 1-degree steps: some megabytes of model.
FarFieldGrid Fine() {
    return test::MakeGrid(1.0f, 1.0f, [](float zenith, float) { return zenith / 180.0f; });
}

// Names a careless writer would use for its temporary file: a link planted at any of them must
// not lead the model into another file.
TEST(ModelWriteSafety, LinksPlantedAtGuessableTemporaryNamesAreNeverWrittenThrough) {
    const char* guesses[] = {"temp.x.tmp", ".temp.x.tmp", "temp.tmp", "temp.x~", "temp.x.new"};
    for (const auto& [form, write] : kWriters) {
        test::TempFolder folder;
        const fs::path victim = folder.Path() / "victim.txt";
        folder.Write("victim.txt", "someone else's");
        for (const char* guess : guesses) {
            fs::create_symlink(victim, folder.Path() / guess);
        }
        const std::vector<std::string> before = FolderEntries(folder.Path());
        ModelWriter writer(folder.Path() / "temp.x", Coarse());
        ASSERT_TRUE(writer.Build()) << form;
        EXPECT_TRUE(write(writer.context)) << form;
        EXPECT_EQ(test::ReadBytes(victim), "someone else's") << form;
        EXPECT_EQ(test::ReadBytes(folder.Path() / "temp.x").substr(0, 4), "xof ") << form;
        std::vector<std::string> after = before;
        after.push_back("temp.x");
        std::sort(after.begin(), after.end());
        EXPECT_EQ(FolderEntries(folder.Path()), after) << form;
    }
}

// Two windows writing their models to the same file at once, one small enough for the disk and
// one not: each is told how its own write went, and the file holds the one that was written.
TEST(ModelWriteSafety, TwoWritesToOneFileEachReportTheirOwnResult) {
    for (const auto& [form, write] : kWriters) {
        test::TempFolder folder;
        const fs::path target = folder.Path() / "temp.x";
        ModelWriter small(target, Coarse());
        ModelWriter large(target, Fine());
        ASSERT_TRUE(small.Build() && large.Build()) << form;
        ASSERT_TRUE(write(small.context)) << form;
        const std::string smallModel = test::ReadBytes(target);
        ASSERT_LT(smallModel.size(), 200000U) << form;
        folder.Write("temp.x", "old model");

        for (int round = 0; round < 5; ++round) {
            bool smallWritten = false;
            bool largeWritten = true;
            {
                test::FileSizeLimit limit(1 << 20);
                ASSERT_TRUE(limit.Active());
                std::thread other([&, write = write] { largeWritten = write(large.context); });
                smallWritten = write(small.context);
                other.join();
            }
            EXPECT_TRUE(smallWritten && !largeWritten) << form << " round " << round;
            ASSERT_EQ(large.messages.shown.size(), static_cast<std::size_t>(round + 1)) << form;
            EXPECT_EQ(large.messages.shown.back().text, kWriteError) << form;
            EXPECT_EQ(test::ReadBytes(target), smallModel) << form << " round " << round;
            EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"temp.x"}) << form;
        }
    }
}

TEST(ModelWriteSafety, AReadOnlyFileOrAFullDiskKeepsTheOldModelWithTheWriteError) {
    for (const auto& [form, write] : kWriters) {
        for (const bool readOnly : {true, false}) {
            SCOPED_TRACE(testing::Message() << form << (readOnly ? " read-only" : " full disk"));
            test::TempFolder folder;
            const fs::path target = folder.Write("temp.x", "old model");
            const fs::perms mode = fs::perms::owner_read | fs::perms::group_read;
            if (readOnly) {
                fs::permissions(target, mode);
            }
            ModelWriter writer(target, Coarse());
            ASSERT_TRUE(writer.Build());
            bool written = true;
            {
                test::FileSizeLimit limit(readOnly ? 1 << 30 : 4096);
                written = write(writer.context);
            }
            EXPECT_FALSE(written);
            ASSERT_EQ(writer.messages.shown.size(), 1U);
            EXPECT_EQ(writer.messages.shown[0].text, kWriteError);
            EXPECT_EQ(writer.messages.shown[0].icon, MessageIcon::Critical);
            EXPECT_EQ(test::ReadBytes(target), "old model");
            EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"temp.x"});
            if (readOnly) {
                EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
            }
        }
    }
}

// A write killed half-way leaves its temporary file behind; the next write of the model clears
// it away instead of letting such files pile up beside the model.
TEST(ModelWriteSafety, AKilledWritesLeftoverIsGoneAfterTheNextWrite) {
    test::TempFolder folder;
    const fs::path target = folder.Path() / "temp.x";
    const fs::path leftover = folder.Write(".temp.x.q1w2e3r4.tmp", "xof 0303bin 0032 half");
    fs::last_write_time(leftover, fs::file_time_type::clock::now() - std::chrono::minutes(5));
    ModelWriter writer(target, Coarse());
    ASSERT_TRUE(writer.Build());
    ASSERT_TRUE(WriteBinaryModel(writer.context));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"temp.x"});
}

} // namespace
} // namespace lobex
