#pragma once

#include "DataView.h"
#include "LoadContext.h"
#include "LoadResult.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Opening data: format detection, the readers, and the one load flow that applies what they read
// to the shared state and hands it to a view. The window, lobex-cli and the tests all run it.
namespace lobex {

class MmanaWindowLink;

// The choices in force in the state.
LoadRequest RequestFrom(const AppState& state);
// The same for a fresh open: the first set, none chosen.
LoadRequest FreshRequest(const AppState& state);

// Whether a file name ends in ".csv", in any case: the files a load reads by their first line.
bool HasCsvExtension(const std::string& path);

// Hands a file's text to the reader its first line names (spaces trimmed; case matters): a
// sweep by the start of its header, the other exports by their whole header, anything else the
// table reader.
LoadResult ReadByHeader(std::string_view bytes, const LoadRequest& request);
// The same for a file, read once; a file that cannot be read, or holds no line, gets
// "Неправильный формат данных" (critical).
LoadResult LoadFileByHeader(const std::string& path, const LoadRequest& request);

// A chosen file, as the load reads it: an empty path reads nothing (a cancelled dialog); a name
// A chosen file, as the load reads it: an empty path reads nothing (a cancelled dialog); a name
// ending in ".s1p" (any case) is a Touchstone file; any other not ending in ".csv" is read as a
// NEC-2 output when its content is one, and refused with "Неизвестный Формат Файла" otherwise;
// a ".csv" goes to LoadFileByHeader.
LoadResult ReadDataFile(const std::string& path, const LoadRequest& request);

// Where a load reads from: a typed result in memory, a file read already, the running MMANA
// through its link, or else a data file, asked for (chooseFile, empty when cancelled) unless
// the load re-reads CurrentFile for a chosen set.
struct LoadSource {
    LoadSource() = default;
    LoadSource(MmanaWindowLink* link, std::function<std::string()> choose)
        : mmana(link), chooseFile(std::move(choose)) {}
    explicit LoadSource(std::shared_ptr<const Result> shown) : document(std::move(shown)) {}
    // What ReadDataFile gave for path, read elsewhere (off the window's thread).
    LoadSource(std::string path, LoadResult&& done)
        : read(std::make_shared<LoadResult>(std::move(done))), readPath(std::move(path)) {}

    MmanaWindowLink* mmana = nullptr;
    std::function<std::string()> chooseFile;
    // The result on show: a pick derives from it instead of reading the source again, which
    // another program may be rewriting at that moment.
    std::shared_ptr<const Result> document;
    // Taken by the load that uses it.
    std::shared_ptr<LoadResult> read;
    std::string readPath;
};

// The load a typed result gives for the request, with the result as its document.
LoadResult DeriveLoad(const std::shared_ptr<const Result>& document, const LoadRequest& request);

// The load controller. The source is read first and its messages shown; a load that fails (or
// is cancelled) changes nothing else. One that succeeds resets the views (the grid emptied
// unless a shown pattern is re-read for a set, the log flags cleared, on a fresh load the set
// list and the pattern gone), applies the data (a far field's cuts drawn first), fills the grid
// from the series, reads the series back from the grid and clears an old status.
// LoadData re-reads for the set the state names when SetChosen; OpenData loads afresh.
bool LoadData(LoadContext& ctx, DataView& view, const LoadSource& source);
bool OpenData(LoadContext& ctx, DataView& view, const LoadSource& source);

// Opening a file from scratch, as the Open command does.
bool OpenFile(LoadContext& ctx, DataView& view, const std::string& path);

// Picking entry `index` of the set list, as a user does: the entry is selected, SelectedSetIndex
// and SelectedSetText become its item data and text, loadData runs with SetChosen set, and
// SetChosen is cleared; when loadData fails the old choice is back. False, with nothing read,
// for an index the list does not hold.
bool ReloadForParamEntry(AppState& state, int index, const std::function<bool()>& loadData);

// The load flow's view for runs without windows (lobex-cli, benchmarks, tests): showing a
// pattern builds its cuts as the graphs would, and the status line is kept to be read.
class HeadlessDataView final : public DataView {
public:
    explicit HeadlessDataView(LoadContext& ctx) : ctx_(ctx) {}

    void ShowLoadStart() override {}
    bool ShowPattern() override;
    void ShowLoadResult(const LoadResult&) override {}
    void SetStatus(std::string_view text) override { status.assign(text); }
    void SetBusy(bool) override {}
    void PumpEvents() override {}

    std::string status;

private:
    LoadContext& ctx_;
};

} // namespace lobex
