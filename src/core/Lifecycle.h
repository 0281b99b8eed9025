#pragma once

#include "AppState.h"

#include <string>
#include <string_view>

namespace lobex {

// Appends the platform's separator unless the folder already ends in "\" or "/".
std::string WithTrailingSeparator(std::string_view folder, char separator);

// Where the help and the helpers lie: beside the program when its folder holds Help/ or Utils/
// (the build tree), else <program folder>/../share/lobex/ when that exists (an install), else
// beside the program. The folder given and the one returned end in a separator.
std::string ProgramDataFolder(const std::string& appFolder, char separator);

// What start-up reads from the platform before it fills the program-wide values.
struct StartupEnvironment {
    std::string appFolder;
    std::string tempFolder;
    std::string decimalSeparator;
    char separator = '/';
};

// Start-up steps after the previous-instance test: pi, paths, title, decimal symbol, default
// labels, in that order.
void PrepareStartupState(AppState& state, const StartupEnvironment& environment);

// The steps of the Exit command that touch windows and the plot engine. The main window
// implements them (a window that is not open is left alone); tests record them.
class ExitSteps {
public:
    virtual ~ExitSteps() = default;
    virtual void Stop3DView() = 0;
    virtual void ShowPlotControls(bool mode3D) = 0;
    virtual void UnloadD3DWindow() = 0;
    virtual void UnloadPolarWindow() = 0;
    virtual void StopPlotter() = 0;
    virtual void ReleasePlotHost() = 0;
    virtual void UnloadMainWindow() = 0;
};

// The Exit command: views closed, the temporary bitmap deleted, the plot engine stopped, then
// the main window unloaded.
void RunExit(AppState& state, ExitSteps& steps);

} // namespace lobex
