#include "LoadFlow.h"

#include "DataGrid.h"
#include "FarField.h"
#include "Messages.h"
#include "MmanaLink.h"
#include "MmanaTable.h"
#include "NearField.h"
#include "NecFile.h"
#include "SweepFile.h"
#include "TextFile.h"
#include "TextRules.h"
#include "TouchstoneFile.h"
#include "WireCurrents.h"

#include <new>

namespace lobex {

bool HasCsvExtension(const std::string& path) {
    return path.size() >= 4 &&
           ToLowerAscii(std::string_view(path).substr(path.size() - 4)) == ".csv";
}

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

LoadResult Refusal(const LoadMessage& message) {
    LoadResult result;
    result.Tell(message.text, message.icon, message.cause);
    return result;
}

void ApplyData(AppState& state, LoadResult& result) {
    DataSet& data = state.Loaded.Data;
    data.DataKind = result.data.DataKind;
    data.Series = std::move(result.data.Series);
    data.DataText = std::move(result.data.DataText);
    data.SelectedSetIndex = result.data.SelectedSetIndex;
    if (result.reader == KindTable || result.reader == KindMmanaWindow ||
        result.reader == KindSweep) {
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
    // The figures only: what the diagrams were drawn on stays until they are drawn again.
    static_cast<PatternFigures&>(pattern) = result.pattern;
    state.Loaded.Data.DataKind = KindFarField;
    state.Loaded.Data.DataText = kDataLoaded;
    view.ShowPattern();
    if (result.patternControls == false) {
        pattern.ElevationCutAvailable = false;
    }
}

} // namespace

LoadRequest RequestFrom(const AppState& state) {
    return LoadRequest{state.Loaded.Data.SelectedSetIndex,
                       state.View.SetChosen,
                       state.DecimalSeparator,
                       state.PiValue,
                       state.View.NecFrequency,
                       state.View.NecShown};
}

LoadRequest FreshRequest(const AppState& state) {
    LoadRequest request = RequestFrom(state);
    request.set = 0;
    request.setChosen = false;
    return request;
}

LoadResult ReadByHeader(std::string_view bytes, const LoadRequest& request) {
    TextLines lines(bytes);
    std::string_view first;
    if (!lines.Next(first)) {
        return Refusal(
            {std::string(kWrongFormatMessage), MessageIcon::Information, {kEmptyFileCause}});
    }
    const std::string header = TrimSpaces(DecodeText(first));
    // MMANA writes the reference impedance into the sweep header ("SWR(75.0Om)"), so a sweep is
    // known by the start of its header.
    if (StartsWith(header, kSweepHeaderPrefix) || StartsWith(header, kSweepHeaderPrefixOhm) ||
        StartsWith(header, kSweepHeaderPrefixOmega)) {
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
    // A text that is no table at all is told so once.
    if (!result.loaded && result.messages.empty()) {
        result.Tell(kWrongFormatMessage, MessageIcon::Information);
    }
    return result;
}

LoadResult DeriveLoad(const std::shared_ptr<const Result>& document, const LoadRequest& request) {
    // A far field shares the document's grid: a pick from memory copies no grid.
    if (const auto* pattern = std::get_if<FarFieldPattern>(document.get())) {
        return DeriveSharedLoad(document, *pattern, request);
    }
    LoadResult result =
        std::visit([&request](const auto& typed) { return DeriveLoad(typed, request); }, *document);
    result.document = document;
    return result;
}

namespace {

// A file's bytes handed to a reader, read once; a file that cannot be read is told so.
LoadResult ReadFileWith(const std::string& path, const LoadRequest& request,
                        LoadResult (*reader)(std::string_view, const LoadRequest&)) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const ReadError& error) {
        return Refusal(ReadFailureMessage(error));
    } catch (const std::bad_alloc&) {
        return Refusal(
            {std::string(kReadErrorMessage), MessageIcon::Critical, {kOutOfMemoryCause}});
    }
    return reader(bytes, request);
}

} // namespace

LoadResult LoadFileByHeader(const std::string& path, const LoadRequest& request) {
    if (std::optional<LoadResult> read = ReadLargeFarFieldFile(path, request)) {
        return std::move(*read);
    }
    return ReadFileWith(path, request, ReadByHeader);
}

LoadResult ReadDataFile(const std::string& path, const LoadRequest& request) {
    LoadResult result;
    if (path.empty()) {
        return result;
    }
    if (HasTouchstoneExtension(path)) {
        return ReadFileWith(path, request, ReadTouchstoneFile);
    }
    if (!HasCsvExtension(path)) {
        // A NEC-2 engine's output is known by its content, whatever its name.
        std::string bytes;
        try {
            bytes = ReadFileBytes(path);
        } catch (const std::exception&) {
            bytes.clear();
        }
        if (IsNecOutput(bytes)) {
            return ReadNecOutput(bytes, request);
        }
        result.Tell(kUnknownFormatMessage, MessageIcon::Information);
        return result;
    }
    return LoadFileByHeader(path, request);
}

namespace {

// Reads the source for the request: MMANA, the file chosen for a fresh load, or the file on
// show again for a set picked in the list. The file read goes to path.
LoadResult ReadSource(LoadContext& ctx, DataView& view, const LoadSource& source,
                      const LoadRequest& request, std::string& path) {
    LoadResult result;
    if (source.document != nullptr) {
        path = ctx.state.Loaded.CurrentFile;
        return DeriveLoad(source.document, request);
    }
    if (source.read != nullptr) {
        path = source.readPath;
        return std::move(*source.read);
    }
    if (source.mmana != nullptr) {
        view.SetBusy(true);
        result = ReadFromMmana(ctx, *source.mmana, request);
        view.SetBusy(false);
        return result;
    }
    path = request.setChosen ? ctx.state.Loaded.CurrentFile
                             : (source.chooseFile ? source.chooseFile() : std::string());
    view.SetBusy(true);
    result = ReadDataFile(path, request);
    view.SetBusy(false);
    return result;
}

// The views reset for what the load brings: the grid emptied unless a shown pattern is re-read
// for a set, the log flags cleared, and on a fresh load the set list and the pattern gone.
void ResetForLoad(AppState& state, const LoadRequest& request) {
    state.View.SetChosen = request.setChosen;
    if (!request.setChosen) {
        state.View.PatternShown = false;
        state.Loaded.Sets = SetList{};
    }
    if (!(state.View.PatternShown && state.View.SetChosen)) {
        ClearGrid(state);
    }
    state.View.LogX = false;
    state.View.LogY = false;
}

bool Load(LoadContext& ctx, DataView& view, const LoadSource& source, const LoadRequest& request) {
    AppState& state = ctx.state;
    std::string path;
    LoadResult result = ReadSource(ctx, view, source, request, path);
    TellAll(ctx, result.messages);
    if (result.status) {
        view.SetStatus(*result.status);
    }
    if (!result.loaded) {
        // What was on show stays, whole: a failed or cancelled load changes nothing.
        view.ShowLoadResult(result);
        return false;
    }
    const bool keepGrid = state.View.PatternShown && request.setChosen;
    ResetForLoad(state, request);
    view.ShowLoadStart();
    if (result.sets) {
        state.Loaded.Sets = *result.sets;
    }
    // Before anything is drawn: the graphs of compared results draw the one on show from it.
    // A set picked of the same document keeps its frequency and part, so what is shown stays.
    if (!request.setChosen || result.document != state.Loaded.Document) {
        state.Loaded.Shown = result.shown != nullptr ? result.shown : result.document;
    }
    state.Loaded.Document = result.document;
    if (result.showPattern) {
        ApplyPattern(ctx, view, result);
    } else {
        state.Loaded.FarField = std::move(result.farField);
        state.View.PatternShown = false;
    }
    ApplyData(state, result);
    if (!keepGrid && !(FillGrid(state, [&view] { view.PumpEvents(); }) && GridToSeries(state))) {
        // The readers keep within the grid's limits, so this is a last guard.
        Tell(ctx, kWrongFormatMessage, MessageIcon::Information);
        state.Loaded.Data.DataText.clear();
        result.loaded = false;
        view.ShowLoadResult(result);
        return false;
    }
    if (source.mmana == nullptr) {
        state.Loaded.CurrentFile = path;
    }
    state.Loaded.LastSource = state.Loaded.CurrentFile;
    // An earlier error on the status line is no news about this load.
    if (!result.status) {
        view.SetStatus("");
    }
    view.ShowLoadResult(result);
    return true;
}

} // namespace

bool LoadData(LoadContext& ctx, DataView& view, const LoadSource& source) {
    return Load(ctx, view, source, RequestFrom(ctx.state));
}

bool OpenData(LoadContext& ctx, DataView& view, const LoadSource& source) {
    return Load(ctx, view, source, FreshRequest(ctx.state));
}

bool OpenFile(LoadContext& ctx, DataView& view, const std::string& path) {
    return OpenData(ctx, view, LoadSource{nullptr, [&path] {
                                              return path;
                                          }});
}

bool ReloadForParamEntry(AppState& state, int index, const std::function<bool()>& loadData) {
    const std::vector<SetListEntry>& entries = state.Loaded.Sets.entries;
    if (index < 0 || index >= static_cast<int>(entries.size())) {
        return false;
    }
    const SetListEntry entry = entries[static_cast<std::size_t>(index)];
    const int selected = state.Loaded.Sets.selected;
    const std::int16_t set = state.Loaded.Data.SelectedSetIndex;
    const std::string text = state.View.SelectedSetText;
    state.Loaded.Sets.selected = index;
    state.Loaded.Data.SelectedSetIndex = static_cast<std::int16_t>(entry.itemData);
    state.View.SelectedSetText = entry.text;
    state.View.SetChosen = true;
    const bool loaded = loadData();
    state.View.SetChosen = false;
    if (!loaded) {
        // The data on show is still the old set's.
        state.Loaded.Sets.selected = selected;
        state.Loaded.Data.SelectedSetIndex = set;
        state.View.SelectedSetText = text;
    }
    return loaded;
}

bool HeadlessDataView::ShowPattern() {
    return BuildPatternCuts(ctx_);
}

} // namespace lobex
