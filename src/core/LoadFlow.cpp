#include "LoadFlow.h"

#include "DataGrid.h"
#include "FarField.h"
#include "Messages.h"
#include "MmanaLink.h"
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

LoadResult WrongFormat(MessageIcon icon) {
    LoadResult result;
    result.Tell(kWrongFormatMessage, icon);
    return result;
}

// What a reader's refusal still changes, as the classic readers changed the state before they
// gave up: the series are cleared and a kind a reader settled on early stays.
void ApplyRefusal(AppState& state, const LoadResult& result) {
    if (result.reader != KindNone && result.reader != KindMmanaWindow) {
        ClearSeries(state);
    }
    if (result.reader != KindNone && result.reader != KindFarField) {
        state.View.PatternShown = false;
    }
    if (result.data.DataKind != KindNone) {
        state.Loaded.Data.DataKind = result.data.DataKind;
    }
}

void ApplyData(AppState& state, LoadResult& result) {
    DataSet& data = state.Loaded.Data;
    data.DataKind = result.data.DataKind;
    data.Series = std::move(result.data.Series);
    data.DataText = std::move(result.data.DataText);
    data.SelectedSetIndex = result.data.SelectedSetIndex;
    if (result.reader == KindTable || result.reader == KindMmanaWindow) {
        data.HeaderWords = std::move(result.data.HeaderWords);
    }
    if (result.reader == KindNearField) {
        state.Loaded.NearFieldPoints = std::move(result.nearField);
        state.Loaded.ElectricField = result.electricField;
    }
    if (!result.gridHeader.empty()) {
        state.Loaded.DataGrid.header = result.gridHeader;
    }
}

// A far field's grid and maximum go in first: its two cuts are drawn from them before the grid
// table takes the series.
void ApplyPattern(LoadContext& ctx, DataView& view, LoadResult& result) {
    AppState& state = ctx.state;
    state.Loaded.FarField = std::move(result.farField);
    PatternResults& pattern = state.Loaded.Pattern;
    pattern.MaxElevation = result.pattern.MaxElevation;
    pattern.MaxAzimuth = result.pattern.MaxAzimuth;
    pattern.MaxGain = result.pattern.MaxGain;
    pattern.BeamWidth = result.pattern.BeamWidth;
    pattern.BeamLeft = result.pattern.BeamLeft;
    pattern.BeamRight = result.pattern.BeamRight;
    state.Loaded.Data.DataKind = KindFarField;
    state.Loaded.Data.DataText = kDataLoaded;
    view.ShowPattern();
    if (result.patternControls == false) {
        pattern.ElevationCutAvailable = false;
    }
}

} // namespace

LoadRequest RequestFrom(const AppState& state) {
    return LoadRequest{state.Loaded.Data.SelectedSetIndex, state.View.SetChosen,
                       state.DecimalSeparator, state.PiValue};
}

LoadResult ReadByHeader(std::string_view bytes, const LoadRequest& request) {
    TextLines lines(bytes);
    std::string_view first;
    if (!lines.Next(first)) {
        return WrongFormat(MessageIcon::Critical);
    }
    const std::string header = TrimSpaces(DecodeText(first));
    // MMANA writes the reference impedance into the sweep header ("SWR(75.0Om)"), so a sweep is
    // known by the start of its header.
    if (StartsWith(header, kSweepHeaderPrefix) || StartsWith(header, kSweepHeaderPrefixOhm)) {
        return ReadSweep(bytes, request);
    }
    if (header == kNearFieldElectricHeader || header == kNearFieldMagneticHeader) {
        return ReadNearField(bytes, request);
    }
    if (header == kCurrentsHeader) {
        return ReadCurrents(bytes, request);
    }
    if (header == kFarFieldHeader) {
        return ReadFarField(bytes, request);
    }
    // Tables carry text (labels, Russian headers): decoded once, as a whole.
    LoadResult result = ReadTable(DecodeText(bytes), request);
    if (!result.loaded) {
        result.Tell(kWrongFormatMessage, MessageIcon::Information);
    }
    return result;
}

LoadResult LoadFileByHeader(const std::string& path, const LoadRequest& request) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const std::exception&) {
        return WrongFormat(MessageIcon::Critical);
    }
    return ReadByHeader(bytes, request);
}

LoadResult ReadDataFile(AppState& state, const std::string& path) {
    state.Loaded.CurrentFile = path;
    LoadResult result;
    if (!path.empty()) {
        if (HasCsvExtension(path)) {
            result = LoadFileByHeader(path, RequestFrom(state));
        } else {
            result.Tell(kUnknownFormatMessage, MessageIcon::Information);
        }
    }
    if (!result.loaded) {
        state.Loaded.CurrentFile.clear();
    }
    return result;
}

bool LoadData(LoadContext& ctx, DataView& view, const LoadSource& source) {
    AppState& state = ctx.state;
    const bool keepGrid = state.View.PatternShown && state.View.SetChosen;
    if (!keepGrid) {
        ClearGrid(state);
    }
    state.View.LogX = false;
    state.View.LogY = false;
    if (!state.View.SetChosen) {
        state.Loaded.Sets = SetList{};
    }
    view.ShowLoadStart();

    LoadResult result;
    if (source.mmana != nullptr) {
        view.SetBusy(true);
        result = ReadFromMmana(ctx, *source.mmana, RequestFrom(state));
        view.SetBusy(false);
    } else {
        std::string path = state.Loaded.CurrentFile;
        if (!state.View.SetChosen) {
            state.Loaded.CurrentFile.clear();
            path = source.chooseFile ? source.chooseFile() : std::string();
        }
        view.SetBusy(true);
        result = ReadDataFile(state, path);
        view.SetBusy(false);
    }
    TellAll(ctx, result.messages);
    if (result.status) {
        view.SetStatus(*result.status);
    }
    if (result.sets) {
        state.Loaded.Sets = *result.sets;
    }

    if (result.loaded) {
        if (result.showPattern) {
            ApplyPattern(ctx, view, result);
        } else {
            state.Loaded.FarField = std::move(result.farField);
            state.View.PatternShown = false;
        }
        ApplyData(state, result);
        if (!keepGrid &&
            !(FillGrid(state, [&view] { view.PumpEvents(); }) && GridToSeries(state))) {
            Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
            result.loaded = false;
            if (result.reader != KindMmanaWindow) {
                state.Loaded.CurrentFile.clear();
            }
        }
    } else {
        ApplyRefusal(state, result);
    }
    if (result.loaded) {
        state.Loaded.LastSource = state.Loaded.CurrentFile;
    } else {
        state.Loaded.Data.DataText.clear();
    }
    view.ShowLoadResult(result);
    return result.loaded;
}

bool OpenFile(LoadContext& ctx, DataView& view, const std::string& path) {
    AppState& state = ctx.state;
    state.View.SetChosen = false;
    state.Loaded.Data.SelectedSetIndex = 0;
    state.View.PatternShown = false;
    return LoadData(ctx, view, LoadSource{nullptr, [&path] {
                                              return path;
                                          }});
}

bool ReloadForParamEntry(AppState& state, int index, const std::function<bool()>& loadData) {
    const std::vector<SetListEntry>& entries = state.Loaded.Sets.entries;
    if (index < 0 || index >= static_cast<int>(entries.size())) {
        return false;
    }
    const SetListEntry entry = entries[static_cast<std::size_t>(index)];
    state.Loaded.Sets.selected = index;
    state.Loaded.Data.SelectedSetIndex = static_cast<std::int16_t>(entry.itemData);
    state.View.SelectedSetText = entry.text;
    state.View.SetChosen = true;
    const bool loaded = loadData();
    state.View.SetChosen = false;
    return loaded;
}

bool HeadlessDataView::ShowPattern() {
    return BuildPatternCuts(ctx_);
}

} // namespace lobex
