#pragma once

#include "AppState.h"
#include "Services.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lobex {

// What the user chose in a save dialog: the 1-based filter entry and the full path; index 0
// when the dialog was cancelled.
struct SaveChoice {
    int filterIndex = 0;
    std::string path;
};

// The two ways the program asks for file names. The GUI shows its windows; tests answer.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The program's own window for opening data files; the chosen path, "" when cancelled.
    virtual std::string ChooseDataFile(std::string_view caption) = 0;
    // The platform's open dialog for an existing file; the chosen path, "" when cancelled.
    virtual std::string AskOpenFile(std::string_view title, std::string_view filter,
                                    std::string_view folder) = 0;
    // The save dialog, titled "Save File", opened in folder. filter alternates descriptions and
    // patterns separated by "|" ("CSV File (*.csv)|*.csv").
    virtual SaveChoice AskSaveFile(std::string_view filter, std::string_view folder) = 0;
};

// The descriptions and patterns of a "|"-separated filter, in pairs.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(std::string_view filter);

// A remembered folder that still exists, else the program's folder.
std::string RememberedFolder(std::string_view stored, std::string_view appFolder);

// The folder of a full path, with its separator ("c:\data\" of "c:\data\a.csv").
std::string FolderOf(std::string_view path);

// Asks for a file to save, remembering the folder under "Paths/SavePath". On success the path
// is left in SaveFileName; returns the chosen filter's 1-based index, 0 when cancelled. With no
// save folder remembered the dialog opens in startFolder, or the program's folder without one.
std::int16_t OpenSaveFileDialog(AppState& state, SettingsStore& settings,
                                FileDialogService& dialogs, std::string_view filter,
                                std::string_view startFolder = {});

// The folder the data files were last opened from, else the program's folder.
std::string LastDataFolder(const AppState& state, SettingsStore& settings);

} // namespace lobex
