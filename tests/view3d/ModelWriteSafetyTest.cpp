#include "FileSizeLimit.h"
#include "FolderEntries.h"
#include "PatternGrids.h"
#include "SceneTestSupport.h"
#include "view3d/PatternModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lobex {
namespace {

namespace fs = std::filesystem;
using test::FolderEntries;

// The atomic writer's own tests cover planted links, concurrent writes and leftovers; here both
// model writers go through it and tell the user when it fails.
TEST(ModelWriteSafety, AReadOnlyFileOrAFullDiskKeepsTheOldModelWithTheWriteError) {
    using WriteModel = bool (*)(View3DContext&);
    const std::pair<const char*, WriteModel> writers[] = {
        {"binary", WriteBinaryModel},
        {"text", WriteTextModel},
    };
    for (const auto& [form, write] : writers) {
        for (const bool readOnly : {true, false}) {
            SCOPED_TRACE(testing::Message() << form << (readOnly ? " read-only" : " full disk"));
            test::TempFolder folder;
            const fs::path target = folder.Write("temp.x", "old model");
            const fs::perms mode = fs::perms::owner_read | fs::perms::group_read;
            if (readOnly) {
                fs::permissions(target, mode);
            }
            AppState state;
            state.Paths.TempModelFile = target.string();
            state.Loaded.FarField =
                test::MakeGrid(10.0f, 10.0f, [](float zenith, float) { return zenith / 18.0f; });
            View3DState view;
            test::RecordingMessages messages;
            View3DContext context{state, view, messages};
            ASSERT_TRUE(BuildPatternVertices(context));
            bool written = true;
            {
                test::FileSizeLimit limit(readOnly ? 1 << 30 : 4096);
                written = write(context);
            }
            EXPECT_FALSE(written);
            ASSERT_EQ(messages.shown.size(), 1U);
            EXPECT_EQ(messages.shown[0].text, kWriteError);
            EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
            EXPECT_EQ(test::ReadBytes(target), "old model");
            EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"temp.x"});
            if (readOnly) {
                EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
            }
        }
    }
}

} // namespace
} // namespace lobex
