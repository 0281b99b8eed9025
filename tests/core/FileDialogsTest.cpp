#include "core/FileDialogs.h"
#include "FakeDialogs.h"
#include "Recorders.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lobex {
namespace {

namespace fs = std::filesystem;

class SaveDialogTest : public ::testing::Test {
protected:
    SaveDialogTest() {
        root = fs::temp_directory_path() /
               ("lobex-save-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root / "out");
        state.AppFolder = (root / "app").string() + "/";
    }
    ~SaveDialogTest() override { fs::remove_all(root); }

    fs::path root;
    AppState state;
    test::MemorySettings settings;
    test::FakeFileDialogs dialogs;
};

TEST_F(SaveDialogTest, FirstUseOpensInTheProgramFolderAndRemembersTheChosenOne) {
    const std::string chosen = (root / "out" / "graph.png").string();
    dialogs.save = {2, chosen};

    EXPECT_EQ(OpenSaveFileDialog(state, settings, dialogs, "BMP (*.bmp)|*.bmp|PNG (*.png)|*.png"),
              2);

    ASSERT_EQ(dialogs.folders.size(), 1U);
    EXPECT_EQ(dialogs.folders[0], state.AppFolder);
    EXPECT_EQ(dialogs.filters[0], "BMP (*.bmp)|*.bmp|PNG (*.png)|*.png");
    EXPECT_EQ(state.SaveFileName, chosen);
    EXPECT_EQ(settings.values["Paths/SavePath"], (root / "out").string() + "/");

    // The next save starts where the last one ended.
    OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv");
    EXPECT_EQ(dialogs.folders[1], (root / "out").string() + "/");
}

TEST_F(SaveDialogTest, CancellingReturnsZeroAndKeepsTheRememberedFolder) {
    settings.values["Paths/SavePath"] = (root / "out").string() + "/";
    state.SaveFileName = "previous.csv";
    dialogs.save = {};
    EXPECT_EQ(OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv"), 0);
    EXPECT_EQ(settings.values["Paths/SavePath"], (root / "out").string() + "/");
    EXPECT_EQ(state.SaveFileName, "previous.csv");
}

TEST_F(SaveDialogTest, AFolderThatHasDisappearedFallsBackToTheProgramFolder) {
    settings.values["Paths/SavePath"] = (root / "gone").string() + "/";
    OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv");
    EXPECT_EQ(dialogs.folders[0], state.AppFolder);
}

TEST_F(SaveDialogTest, TheRememberedFolderIsTheFilesOwnEvenWhenItsNameRepeatsEarlier) {
    fs::create_directories(root / "a.csv" / "sub");
    const std::string chosen = (root / "a.csv" / "sub" / "a.csv").string();
    dialogs.save = {1, chosen};
    OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv");
    EXPECT_EQ(settings.values["Paths/SavePath"], (root / "a.csv" / "sub").string() + "/");
}

TEST(FileFilter, SplitsIntoDescriptionAndPatternPairs) {
    const auto entries = ParseFileFilter(
        "Bitmap File (*.bmp)|*.bmp|Portable Network Graphics (*.png)|*.png|Enhanced Metafile "
        "(*.emf)|*.emf");
    ASSERT_EQ(entries.size(), 3U);
    EXPECT_EQ(entries[1].first, "Portable Network Graphics (*.png)");
    EXPECT_EQ(entries[2].second, "*.emf");
    EXPECT_TRUE(ParseFileFilter("").empty());
    EXPECT_EQ(FolderOf("c:\\data\\a.csv"), "c:\\data\\");
    EXPECT_EQ(FolderOf("/home/u/a.csv"), "/home/u/");
    EXPECT_EQ(FolderOf("a.csv"), "");
}

} // namespace
} // namespace lobex
