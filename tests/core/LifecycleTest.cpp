#include "core/Lifecycle.h"
#include "LoadHarness.h"
#include "core/FileDialogs.h"
#include "core/Remembered.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace lobex {
namespace {

TEST(Startup, FindsTheHelpAndHelpersInTheBuildTreeAndInAnInstall) {
    namespace fs = std::filesystem;
    test::TempFolder root;
    const std::string base = root.Path().string() + "/";
    // A build tree: bin/ holds Help/ and Utils/, even if a share/lobex/ lies one level up. An
    // install: bin/ holds only programs, the data sits in share/lobex/. Neither: a bare folder
    // keeps looking beside the program.
    for (const char* folder :
         {"build/bin/Help", "build/share/lobex", "usr/bin", "usr/share/lobex/Utils", "bare/bin"}) {
        fs::create_directories(root.Path() / folder);
    }
    const std::pair<std::string, std::string> cases[] = {
        {"build/bin", "build/bin/"},
        {"usr/bin", "usr/share/lobex/"},
        {"bare/bin", "bare/bin/"},
    };
    for (const auto& [bin, data] : cases) {
        AppState state;
        PrepareStartupState(state, {base + bin, "/tmp/lobex-1000/", ",", '/'});
        EXPECT_EQ(state.Paths.TempModelFile, "/tmp/lobex-1000/temp.x");
        EXPECT_EQ(state.DecimalSeparator, ",");
        EXPECT_EQ(state.Paths.DataFolder, base + data) << bin;
        EXPECT_EQ(state.Paths.UtilsFolder, base + data + "Utils/") << bin;
    }
}

class ExitRecorder final : public ExitSteps {
public:
    void Stop3DView() override { steps.push_back("Stop3DView"); }
    void ShowPlotControls(bool mode3D) override {
        steps.push_back(mode3D ? "ShowPlotControls(true)" : "ShowPlotControls(false)");
    }
    void UnloadD3DWindow() override { steps.push_back("UnloadD3DWindow"); }
    void UnloadPolarWindow() override { steps.push_back("UnloadPolarWindow"); }
    void StopPlotter() override { steps.push_back("StopPlotter"); }
    void ReleasePlotHost() override { steps.push_back("ReleasePlotHost"); }
    void UnloadMainWindow() override { steps.push_back("UnloadMainWindow"); }
    std::vector<std::string> steps;
};

TEST(Exit, ClosesTheOpenViewsInOrderAndDeletesTheTemporaryBitmap) {
    test::TempFolder folder;
    AppState state;
    state.Paths.TempBitmapFile = folder.Write("temp.bmp", "BM");
    state.View.View3DActive = true;
    state.View.PlotHost = PlotHostKind::MainWindow;
    ExitRecorder all;
    RunExit(state, all);
    EXPECT_EQ(all.steps,
              (std::vector<std::string>{"Stop3DView", "ShowPlotControls(false)", "UnloadD3DWindow",
                                        "UnloadPolarWindow", "StopPlotter", "ReleasePlotHost",
                                        "UnloadMainWindow"}));
    EXPECT_EQ(state.View.PlotHost, PlotHostKind::None);
    EXPECT_FALSE(std::filesystem::exists(state.Paths.TempBitmapFile));
    // The 3D window is only torn down through an active 3D view; a polar window that is not
    // open is the window's to ignore. A bitmap already gone does not stop the exit.
    state.View.View3DActive = false;
    ExitRecorder without3D;
    RunExit(state, without3D);
    EXPECT_EQ(without3D.steps, (std::vector<std::string>{"UnloadPolarWindow", "StopPlotter",
                                                         "ReleasePlotHost", "UnloadMainWindow"}));
}

using Files = std::vector<std::string>;

// The files "/a/<digit>.csv" in the order of the digits given.
Files Numbered(std::string_view digits) {
    Files files;
    for (const char digit : digits) {
        files.push_back("/a/" + std::string(1, digit) + ".csv");
    }
    return files;
}

TEST(RecentFiles, TheFileOpenedLastComesFirstOnceAndTheOldestBeyondEightGo) {
    const std::tuple<const char*, Files, std::string, Files> cases[] = {
        {"new file in front", Numbered("12"), "/a/3.csv", Numbered("312")},
        {"known file moves to the front", Numbered("123"), "/a/3.csv", Numbered("312")},
        {"ninth pushes out the oldest", Numbered("12345678"), "/a/9.csv", Numbered("91234567")},
        {"a known one of eight keeps all eight", Numbered("12345678"), "/a/8.csv",
         Numbered("81234567")},
        // Names are the system's bytes: case and folder tell files apart.
        {"other case is another file", {"/a/X.csv"}, "/a/x.csv", {"/a/x.csv", "/a/X.csv"}},
    };
    for (const auto& [what, before, opened, after] : cases) {
        EXPECT_EQ(WithRecentFile(before, opened), after) << what;
    }
    EXPECT_EQ(WithoutRecentFile(Numbered("123"), "/a/2.csv"), Numbered("13"));
    EXPECT_EQ(WithoutRecentFile({"/a/1.csv"}, "/a/9.csv"), Files{"/a/1.csv"});
}

TEST(RecentFiles, SurviveInTheSettingsInTheirOrderWithoutBlanksOrRepeats) {
    test::MemorySettings store;
    EXPECT_TRUE(ReadRecentFiles(store).empty());

    const Files files{"/home/ra3/Антенны/yagi.csv", "C:\\MMANA\\ANT\\dipole.csv"};
    SaveRecentFiles(store, files);
    EXPECT_EQ(ReadRecentFiles(store), files);
    EXPECT_EQ(store.values.at("RecentFiles/File1"), files[0]);

    // A shorter list leaves no old entries behind.
    SaveRecentFiles(store, {files[1]});
    EXPECT_EQ(ReadRecentFiles(store), Files{files[1]});

    // Hand-edited settings: gaps and repeats are skipped, and only eight entries are read.
    store.values = {{"RecentFiles/File1", "/b.csv"},
                    {"RecentFiles/File3", "/b.csv"},
                    {"RecentFiles/File4", "/c.csv"},
                    {"RecentFiles/File9", "/d.csv"}};
    EXPECT_EQ(ReadRecentFiles(store), (Files{"/b.csv", "/c.csv"}));
}

// Started as "lobex files/x.csv", the file must still be found when the program is started from
// another folder: names are remembered absolute, and old relative entries made so where found.
TEST(RecentFiles, AreRememberedWithAbsoluteNames) {
    const std::filesystem::path before = std::filesystem::current_path();
    test::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "files");
    const std::string absolute = folder.Write("files/x.csv", "x\n");
    std::filesystem::current_path(folder.Path());

    EXPECT_EQ(WithRecentFile({absolute}, "./files/../files/x.csv"), Files{absolute});
    test::MemorySettings store;
    store.values = {{"RecentFiles/File1", "files/x.csv"}, {"RecentFiles/File2", "gone/y.csv"}};
    EXPECT_EQ(ReadRecentFiles(store), (Files{absolute, "gone/y.csv"}));

    std::filesystem::current_path(before);
}

TEST(RememberedChoices, TheSourceComesBackAndWithoutMmanaTheFirstStartReadsFiles) {
    struct Case {
        std::string remembered;
        bool mmanaCanRun;
        int source;
    };
    const Case cases[] = {
        {"", true, 0},     {"", false, 1},         {"MMANA", false, 0},
        {"File", true, 1}, {"nonsense", false, 1}, {"nonsense", true, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InitialSourceIndex(c.remembered, c.mmanaCanRun), c.source)
            << c.remembered << " " << c.mmanaCanRun;
    }
    for (int source : {0, 1}) {
        EXPECT_EQ(InitialSourceIndex(SourceSettingText(source), source == 1), source);
    }

    // Turned off, it stays off at the next start: LiveFileWindowTest.
    test::MemorySettings store;
    EXPECT_TRUE(ReadReloadOnChange(store)) << "on until turned off";
}

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

    // A folder that has disappeared falls back to the program folder. The folder remembered is
    // the file's own, even where its name repeats earlier in the path.
    settings.values["Paths/SavePath"] = Folder("gone");
    fs::create_directories(root.Path() / "a.csv" / "sub");
    dialogs.save = {1, (root.Path() / "a.csv" / "sub" / "a.csv").string()};
    OpenSaveFileDialog(state, settings, dialogs, "CSV File (*.csv)|*.csv");
    EXPECT_EQ(dialogs.folders.at(2), state.Paths.AppFolder);
    EXPECT_EQ(settings.values["Paths/SavePath"], (root.Path() / "a.csv" / "sub").string() + "/");
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

} // namespace
} // namespace lobex
