#include "AntennaLoader.h"

namespace lobex {

bool OpenAntennaDescription(AntennaContext context) {
    AppState& state = context.state;
    View3DState& view = context.view;
    state.Paths.DescPath =
        RememberedFolder(ReadSetting(context.settings, kDescPathSetting), state.Paths.AppFolder);
    const std::string path =
        context.dialogs.AskOpenFile(kOpenAntennaTitle, kAntennaFilter, state.Paths.DescPath);
    if (path.empty()) {
        view.AntennaLoaded = false;
        FrameSubject(view);
        return false;
    }
    state.Paths.DescPath = FolderOf(path);
    WriteSetting(context.settings, kDescPathSetting, state.Paths.DescPath);
    return LoadAntennaFile(state, view, context.scene, context.messages, path);
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
