#include "AntennaLoader.h"

namespace lobex {

std::string AskMaaModel(AppState& state, SettingsStore& settings, FileDialogService& dialogs,
                        std::string_view title) {
    state.Paths.DescPath =
        RememberedFolder(ReadSetting(settings, kDescPathSetting), state.Paths.AppFolder);
    const std::string path = dialogs.AskOpenFile(title, kAntennaFilter, state.Paths.DescPath);
    if (!path.empty()) {
        state.Paths.DescPath = FolderOf(path);
        WriteSetting(settings, kDescPathSetting, state.Paths.DescPath);
    }
    return path;
}

bool OpenAntennaDescription(AntennaContext context) {
    View3DState& view = context.view;
    const std::string path =
        AskMaaModel(context.state, context.settings, context.dialogs, kOpenAntennaTitle);
    if (path.empty()) {
        view.AntennaLoaded = false;
        FrameSubject(view);
        return false;
    }
    return LoadAntennaFile(context.state, view, context.scene, context.messages, path);
}

bool LoadAntennaFile(AppState& state, View3DState& view, View3DScene& scene,
                     MessageService& messages, const std::string& path) {
    AntennaDescription antenna;
    if (!ReadMaaFile(path, antenna)) {
        messages.Show(kAntennaReadError, MessageIcon::Critical, state.AppTitle);
        view.AntennaLoaded = false;
        FrameSubject(view);
        return false;
    }
    // An antenna drawn in a single point has nothing to scale by; it is still shown.
    ScaleAntenna(antenna);
    view.Antenna = std::move(antenna);
    BuildFeedMarkers(scene, view.Antenna);
    view.AntennaLoaded = true;
    view.WiresVisible = true;
    FrameSubject(view);
    return true;
}

} // namespace lobex
