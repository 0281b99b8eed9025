#include "Lifecycle.h"

#include "Utf8Path.h"

#include <filesystem>
#include <system_error>

namespace lobex {

std::string WithTrailingSeparator(std::string_view folder, char separator) {
    std::string out(folder);
    if (out.empty() || (out.back() != '\\' && out.back() != '/')) {
        out.push_back(separator);
    }
    return out;
}

void PrepareStartupState(AppState& state, const StartupEnvironment& environment) {
    state.PiValue = kPiValue;
    state.TempFolder = WithTrailingSeparator(environment.tempFolder, environment.separator);
    state.AppTitle = "Lobex";
    state.AppFolder = WithTrailingSeparator(environment.appFolder, environment.separator);
    state.DataInFile = state.TempFolder + "datain.txt";
    state.TempModelFile = state.TempFolder + "temp.x";
    state.ExportFile = state.TempFolder + "export.csv";
    state.TempBitmapFile = state.TempFolder + "temp.bmp";
    state.UtilsFolder = state.AppFolder + "Utils" + environment.separator;
    state.DecimalSeparator = environment.decimalSeparator;
    SetDefaultLabels(state.Data);
}

void RunExit(AppState& state, ExitSteps& steps) {
    if (state.View3DActive) {
        steps.Stop3DView();
        steps.ShowPlotControls(false);
        if (state.D3DWindowOpen) {
            steps.UnloadD3DWindow();
        }
    }
    if (state.PolarWindowOpen) {
        steps.UnloadPolarWindow();
    }
    if (!state.TempBitmapFile.empty()) {
        std::error_code ignored;
        std::filesystem::remove(Utf8Path(state.TempBitmapFile), ignored);
    }
    steps.StopPlotter();
    steps.ReleasePlotHost();
    state.PlotHost = PlotHostKind::None;
    steps.UnloadMainWindow();
}

} // namespace lobex
