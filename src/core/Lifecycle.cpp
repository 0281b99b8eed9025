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

std::string ProgramDataFolder(const std::string& appFolder, char separator) {
    std::error_code ignored;
    const auto isFolder = [&ignored](const std::string& folder) {
        return std::filesystem::is_directory(Utf8Path(folder), ignored);
    };
    if (appFolder.empty() || isFolder(appFolder + "Help") || isFolder(appFolder + "Utils")) {
        return appFolder;
    }
    const std::string_view bin(appFolder.data(), appFolder.size() - 1);
    const auto cut = bin.find_last_of("\\/");
    if (cut == std::string_view::npos) {
        return appFolder;
    }
    std::string installed(bin.substr(0, cut + 1));
    installed += "share";
    installed += separator;
    installed += "lobex";
    installed += separator;
    return isFolder(installed) ? installed : appFolder;
}

void PrepareStartupState(AppState& state, const StartupEnvironment& environment) {
    state.PiValue = kPiValue;
    state.Paths.TempFolder = WithTrailingSeparator(environment.tempFolder, environment.separator);
    state.AppTitle = "Lobex";
    state.Paths.AppFolder = WithTrailingSeparator(environment.appFolder, environment.separator);
    state.Paths.DataInFile = state.Paths.TempFolder + "datain.txt";
    state.Paths.TempModelFile = state.Paths.TempFolder + "temp.x";
    state.Paths.ExportFile = state.Paths.TempFolder + "export.csv";
    state.Paths.TempBitmapFile = state.Paths.TempFolder + "temp.bmp";
    state.Paths.DataFolder = ProgramDataFolder(state.Paths.AppFolder, environment.separator);
    state.Paths.UtilsFolder = state.Paths.DataFolder + "Utils" + environment.separator;
    state.DecimalSeparator = environment.decimalSeparator;
    SetDefaultLabels(state.Loaded.Data);
}

void RunExit(AppState& state, ExitSteps& steps) {
    if (state.View.View3DActive) {
        steps.Stop3DView();
        steps.ShowPlotControls(false);
        steps.UnloadD3DWindow();
    }
    steps.UnloadPolarWindow();
    if (!state.Paths.TempBitmapFile.empty()) {
        std::error_code ignored;
        std::filesystem::remove(Utf8Path(state.Paths.TempBitmapFile), ignored);
    }
    steps.StopPlotter();
    steps.ReleasePlotHost();
    state.View.PlotHost = PlotHostKind::None;
    steps.UnloadMainWindow();
}

} // namespace lobex
