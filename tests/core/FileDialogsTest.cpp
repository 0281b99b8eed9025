#include "core/FileDialogs.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lobex {
namespace {

namespace fs = std::filesystem;

class SaveDialogTest : public ::testing::Test {
protected:
    SaveDialogTest() {
        fs::create_directories(root.Path() / "out");
        state.Paths.AppFolder = (root.Path() / "app").string() + "/";
    }
    std::string Folder(const char* name) const { return (root.Path() / name).string() + "/"; }

    test::TempFolder root;
    AppState state;
    test::MemorySettings settings;
    test::FakeFileDialogs dialogs;
};

TEST_F(SaveDialogTest, StartsInTheProgramFolderThenWhereTheLastSaveEnded) {
    const std::string chosen = (root.Path() / "out" / "graph.png").string();
    dialogs.save = {2, chosen};
    EXPECT_EQ(OpenSaveFileDialog(state, settings, dialogs, "BMP (*.bmp)|*.bmp|PNG (*.png)|*.png"),
              2);
    EXPECT_EQ(dialogs.folders.at(0), state.Paths.AppFolder);
    EXPECT_EQ(state.Paths.SaveFileName, chosen);
    EXPECT_EQ(settings.values["Paths/SavePath"], Folder("out"));

    // Cancelling returns 0 and keeps the remembered folder and the last file.
    dialogs.save = {};
    EXPECT_EQ(OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv"), 0);
    EXPECT_EQ(dialogs.folders.at(1), Folder("out"));
    EXPECT_EQ(state.Paths.SaveFileName, chosen);

    // A folder that has disappeared falls back to the program folder.
    settings.values["Paths/SavePath"] = Folder("gone");
    OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv");
    EXPECT_EQ(dialogs.folders.at(2), state.Paths.AppFolder);
}

TEST_F(SaveDialogTest, DataFilesAreSavedWhereDataIsReadUntilASaveFolderIsRemembered) {
    fs::create_directories(root.Path() / "data");
    // Nothing remembered at all: the program folder, as for every save.
    EXPECT_EQ(LastDataFolder(state, settings), state.Paths.AppFolder);
    settings.values["Paths/DataPath"] = Folder("data");
    EXPECT_EQ(LastDataFolder(state, settings), Folder("data"));

    dialogs.save = {1, (root.Path() / "out" / "export.csv").string()};
    OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv",
                       LastDataFolder(state, settings));
    EXPECT_EQ(dialogs.folders.at(0), Folder("data"));
    OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv",
                       LastDataFolder(state, settings));
    EXPECT_EQ(dialogs.folders.at(1), Folder("out"));
}

TEST_F(SaveDialogTest, TheRememberedFolderIsTheFilesOwnEvenWhenItsNameRepeatsEarlier) {
    fs::create_directories(root.Path() / "a.csv" / "sub");
    dialogs.save = {1, (root.Path() / "a.csv" / "sub" / "a.csv").string()};
    OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv");
    EXPECT_EQ(settings.values["Paths/SavePath"], (root.Path() / "a.csv" / "sub").string() + "/");
}

} // namespace
} // namespace lobex
