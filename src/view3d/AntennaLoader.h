#pragma once

#include "View3DState.h"
#include "ViewScene.h"
#include "core/AppState.h"
#include "core/FileDialogs.h"
#include "core/Services.h"

#include <string>
#include <string_view>

namespace lobex {

inline constexpr std::string_view kOpenAntennaTitle = "Open File";
inline constexpr std::string_view kAntennaFilter = "MMANA Input Files (*.maa)|*.maa|";

// Asks for an MMANA model file (title, the model filter) in the remembered folder
// ("Paths/DescPath") and remembers the chosen one; "" when cancelled.
std::string AskMaaModel(AppState& state, SettingsStore& settings, FileDialogService& dialogs,
                        std::string_view title);

// What opening an antenna description works with.
struct AntennaContext {
    AppState& state;
    View3DState& view;
    View3DScene& scene;
    SettingsStore& settings;
    FileDialogService& dialogs;
    MessageService& messages;
};

// Asks for an MMANA model file in the remembered folder ("Paths/DescPath"), remembers the
// chosen folder, reads and scales the antenna and builds its feed markers. True when an antenna
// is loaded afterwards; a cancelled dialog or an unreadable file leaves none loaded (the latter
// after telling the user).
bool OpenAntennaDescription(AntennaContext context);
// The same for a file already chosen: reads, scales and shows it, or tells the user why not.
bool LoadAntennaFile(AppState& state, View3DState& view, View3DScene& scene,
                     MessageService& messages, const std::string& path);

} // namespace lobex
