#pragma once

#include "core/AppState.h"
#include "core/FileDialogs.h"
#include "core/Services.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// What the Tools menu's conversion commands work with: the shared state (AppTitle, PiValue,
// DecimalSeparator, TempModelFile, CurrentFile), where messages go, the stored "Paths/DataPath"
// and the file dialogs.
struct ConversionContext {
    AppState& state;
    MessageService& messages;
    SettingsStore& settings;
    FileDialogService& dialogs;
};

inline constexpr std::string_view kOpenCsvTitle = "Open .csv file";
inline constexpr std::string_view kCsvFilter = "CSV File (*.csv)|*.csv";
// The data file window keeps its own caption for the folder command.
inline constexpr std::string_view kFolderChoiceCaption = "Open File";
inline constexpr std::string_view kConversionCompleted = "Convertion completed";

// The text model the conversion writes: beside TempModelFile, under a name of its own, so that a
// conversion never replaces the model the 3D view loads again when it restarts.
std::string ConversionModelFile(const AppState& state);

// Converts one far-field file into its description file (mnuToolsDSCFile_Click runs it with an
// empty path). An empty path asks for the file first with the platform's open dialog ("Open
// .csv file", "CSV File (*.csv)|*.csv", in the stored data folder); a cancelled dialog gives
// false and path stays empty. Otherwise path holds the file, which is read with the far-field
// reader, built into the pattern surface, written as a text model (ConversionModelFile) and
// handed with the description path (DescriptionPathFor) to DescriptionFileHook, whose result is
// returned. A file that cannot be read or built is told about as those steps tell it.
// The file is read into a state of its own: the loaded data set, the far-field grid and the
// pattern of the 3D view stay as they were.
bool ConvertCsvToDsc(ConversionContext& context, std::string& path);

// The ".csv" files of a folder (the extension in any case, as Windows lists "*.csv"), plain
// files only, ordered by name with the case ignored.
std::vector<std::string> CsvFilesOf(const std::string& folder);

// The folder command (mnuToolsDSCFolder_Click): the data file window picks a file, and every
// ".csv" file of that file's folder is converted in turn, the folder listed anew before each
// one (a conversion may itself list folders). Ends with "Convertion completed" (information)
// unless the window was cancelled. CurrentFile is restored on every way out. busy(true) comes
// before the first file and busy(false) after the last, for the window's hourglass.
void ConvertCsvFolder(ConversionContext& context, const std::function<void(bool)>& busy = {});

} // namespace lobex
