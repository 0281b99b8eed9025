#include "LoadFlow.h"

#include "DataGrid.h"
#include "FarField.h"
#include "Messages.h"
#include "MmanaTable.h"
#include "NearField.h"
#include "SweepFile.h"
#include "TextFile.h"
#include "TextRules.h"
#include "WireCurrents.h"

namespace lobex {
namespace {

bool HasCsvExtension(const std::string& path) {
    return path.size() >= 4 &&
           ToLowerAscii(std::string_view(path).substr(path.size() - 4)) == ".csv";
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool LoadFileByHeader(LoadContext& ctx, const std::string& path) {
    AppState& state = ctx.state;
    ClearSeries(state);
    std::string header;
    try {
        header = TrimSpaces(ReadFirstLine(path));
    } catch (const std::exception&) {
        Tell(ctx, kWrongFormatMessage, MessageIcon::Critical);
        return false;
    }
    // MMANA writes the reference impedance into the sweep header ("SWR(75.0Om)"), so a sweep is
    // known by the start of its header.
    if (StartsWith(header, kSweepHeaderPrefix) || StartsWith(header, kSweepHeaderPrefixOhm)) {
        return LoadSweepFile(ctx, path);
    }
    if (header == kNearFieldElectricHeader || header == kNearFieldMagneticHeader) {
        return LoadNearFieldFile(ctx, path);
    }
    if (header == kCurrentsHeader) {
        return LoadCurrentsFile(ctx, path, state.Data.SelectedSetIndex);
    }
    if (header == kFarFieldHeader) {
        return LoadFarField(ctx, path);
    }
    if (!LoadTableFile(ctx, path)) {
        Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
        return false;
    }
    return true;
}

bool LoadDataFile(LoadContext& ctx, const std::string& path) {
    AppState& state = ctx.state;
    state.CurrentFile = path;
    bool loaded = false;
    if (!path.empty()) {
        if (HasCsvExtension(path)) {
            loaded = LoadFileByHeader(ctx, path);
        } else {
            Tell(ctx, kUnknownFormatMessage, MessageIcon::Information);
        }
    }
    if (loaded && !(state.PatternShown && state.SetChosen)) {
        if (!FillGrid(ctx) || !GridToSeries(ctx)) {
            Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
            loaded = false;
        }
    }
    if (!loaded) {
        state.CurrentFile.clear();
        state.Data.DataText.clear();
    }
    return loaded;
}

bool RunFileLoad(LoadContext& ctx, const std::string& path) {
    AppState& state = ctx.state;
    if (!(state.PatternShown && state.SetChosen)) {
        ClearGrid(ctx);
    }
    state.LogX = false;
    state.LogY = false;
    if (!state.SetChosen) {
        ctx.view.ParamClear();
    }
    return LoadDataFile(ctx, path);
}

bool RunFileOpen(LoadContext& ctx, const std::string& path) {
    AppState& state = ctx.state;
    state.SetChosen = false;
    state.Data.SelectedSetIndex = 0;
    state.PatternShown = false;
    return RunFileLoad(ctx, path);
}

bool ReloadForParamEntry(LoadContext& ctx, int index, const std::function<bool()>& loadData) {
    AppState& state = ctx.state;
    if (state.ComboFilling || index < 0 || index >= ctx.view.ParamCount()) {
        return false;
    }
    state.Data.SelectedSetIndex = static_cast<std::int16_t>(ctx.view.ParamItemData(index));
    state.SelectedSetText = ctx.view.ParamItemText(index);
    state.SetChosen = true;
    const bool loaded = loadData();
    state.SetChosen = false;
    return loaded;
}

bool ReloadForParamEntry(LoadContext& ctx, int index) {
    const std::string path = ctx.state.CurrentFile;
    return ReloadForParamEntry(ctx, index, [&ctx, &path] { return RunFileLoad(ctx, path); });
}

} // namespace lobex
