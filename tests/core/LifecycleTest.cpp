#include "core/Lifecycle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lobex {
namespace {

TEST(Startup, AddsASeparatorOnlyWhenTheFolderHasNone) {
    EXPECT_EQ(WithTrailingSeparator("C:\\Temp", '\\'), "C:\\Temp\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\Temp\\", '\\'), "C:\\Temp\\");
    EXPECT_EQ(WithTrailingSeparator("/tmp/", '\\'), "/tmp/");
    EXPECT_EQ(WithTrailingSeparator("/opt/lobex", '/'), "/opt/lobex/");
    EXPECT_EQ(WithTrailingSeparator("C:\\Temp\\", '/'), "C:\\Temp\\");
}

TEST(Startup, PreparesThePathsTitleAndLabels) {
    AppState state;
    state.PiValue = 3.0f;
    PrepareStartupState(state, {"/opt/lobex/bin", "/tmp/lobex-1000/", ",", '/'});

    EXPECT_EQ(state.AppTitle, "Lobex");
    EXPECT_EQ(state.PiValue, 3.14159274f);
    EXPECT_EQ(state.AppFolder, "/opt/lobex/bin/");
    EXPECT_EQ(state.TempFolder, "/tmp/lobex-1000/");
    EXPECT_EQ(state.DataInFile, "/tmp/lobex-1000/datain.txt");
    EXPECT_EQ(state.TempModelFile, "/tmp/lobex-1000/temp.x");
    EXPECT_EQ(state.ExportFile, "/tmp/lobex-1000/export.csv");
    EXPECT_EQ(state.TempBitmapFile, "/tmp/lobex-1000/temp.bmp");
    EXPECT_EQ(state.UtilsFolder, "/opt/lobex/bin/Utils/");
    EXPECT_EQ(state.DecimalSeparator, ",");
    EXPECT_EQ(state.Data.Series[0].Label, "Параметр");
    EXPECT_EQ(state.Data.Series[6].Label, "Зенит");
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

TEST(Exit, ClosesTheOpenViewsInOrderBeforeStoppingThePlotter) {
    struct Case {
        bool view3D;
        bool d3dWindow;
        bool polarWindow;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {false, false, false, {"StopPlotter", "ReleasePlotHost", "UnloadMainWindow"}},
        {true,
         false,
         false,
         {"Stop3DView", "ShowPlotControls(false)", "StopPlotter", "ReleasePlotHost",
          "UnloadMainWindow"}},
        {true,
         true,
         true,
         {"Stop3DView", "ShowPlotControls(false)", "UnloadD3DWindow", "UnloadPolarWindow",
          "StopPlotter", "ReleasePlotHost", "UnloadMainWindow"}},
        // The 3D window is only torn down through an active 3D view.
        {false,
         true,
         true,
         {"UnloadPolarWindow", "StopPlotter", "ReleasePlotHost", "UnloadMainWindow"}},
    };
    for (const Case& c : cases) {
        AppState state;
        state.View3DActive = c.view3D;
        state.D3DWindowOpen = c.d3dWindow;
        state.PolarWindowOpen = c.polarWindow;
        state.PlotHost = PlotHostKind::MainWindow;
        ExitRecorder recorder;
        RunExit(state, recorder);
        EXPECT_EQ(recorder.steps, c.expected);
        EXPECT_EQ(state.PlotHost, PlotHostKind::None);
    }
}

TEST(Exit, DeletesTheTemporaryBitmapWhenPresent) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("lobex-exit-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path bitmap = folder / "temp.bmp";
    std::ofstream(bitmap) << "BM";

    AppState state;
    state.TempBitmapFile = bitmap.string();
    ExitRecorder recorder;
    RunExit(state, recorder);
    EXPECT_FALSE(std::filesystem::exists(bitmap));

    // A second exit with the file already gone goes through all the same.
    ExitRecorder again;
    RunExit(state, again);
    EXPECT_EQ(again.steps.back(), "UnloadMainWindow");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace lobex
