#pragma once

#include "LoadContext.h"

#include <functional>
#include <string>

// The part of opening a data file that needs no window: format detection, the readers, and
// the grid. The window adds its dialog, controls and graphs around it; lobex-cli runs it alone.
namespace lobex {

// Picks the reader by the file's first line (spaces trimmed; case matters): a sweep by the
// start of its header, the other exports by their whole header, anything else the table reader.
bool LoadFileByHeader(LoadContext& ctx, const std::string& path);

// Opening a chosen file as the load controller does once the file is chosen: CurrentFile =
// path; an empty path loads nothing (a cancelled dialog); a name not ending in ".csv" (any
// case) is refused with "Неизвестный Формат Файла"; otherwise LoadFileByHeader. On failure
// CurrentFile and DataText are emptied. On success, unless a pattern is shown and SetChosen,
// the grid is filled from the series and the series are read back from the grid.
bool LoadDataFile(LoadContext& ctx, const std::string& path);

// The load controller without a window: the empty grid (unless a pattern is shown and
// SetChosen), the log flags cleared, the set list cleared (unless SetChosen), LoadDataFile.
bool RunFileLoad(LoadContext& ctx, const std::string& path);

// Opening a file from scratch, as the Open command does: no set chosen, no pattern shown,
// then RunFileLoad.
bool RunFileOpen(LoadContext& ctx, const std::string& path);

// Picking entry `index` of the set list, as a user does: SelectedSetIndex and SelectedSetText
// become the entry's item data and text, loadData runs with SetChosen set, SetChosen is
// cleared. Nothing happens while the program fills the list itself (ComboFilling).
bool ReloadForParamEntry(LoadContext& ctx, int index, const std::function<bool()>& loadData);
// The same, reloading CurrentFile with RunFileLoad.
bool ReloadForParamEntry(LoadContext& ctx, int index);

} // namespace lobex
