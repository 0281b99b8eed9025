#include "core/Lifecycle.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace lobex {
namespace {

TEST(Startup, FindsTheHelpAndHelpersInTheBuildTreeAndInAnInstall) {
    namespace fs = std::filesystem;
    test::TempFolder root;
    const std::string base = root.Path().string() + "/";
    // A build tree: bin/ holds Help/ and Utils/, even if a share/lobex/ lies one level up.
    fs::create_directories(root.Path() / "build" / "bin" / "Help");
    fs::create_directories(root.Path() / "build" / "share" / "lobex");
    // An install: bin/ holds only programs, the data sits in share/lobex/.
    fs::create_directories(root.Path() / "usr" / "bin");
    fs::create_directories(root.Path() / "usr" / "share" / "lobex" / "Utils");
    // Neither: a bare folder keeps looking beside the program.
    fs::create_directories(root.Path() / "bare" / "bin");
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

} // namespace
} // namespace lobex
