#pragma once

#include "Services.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What the program remembers between runs besides its folders: the data source, whether a file
// on show is re-read when it changes, and the files opened last.
namespace lobex {

inline constexpr SettingKey kDataSourceSetting{"Data", "Source", ""};
inline constexpr SettingKey kReloadOnChangeSetting{"Data", "ReloadOnChange", "1"};
inline constexpr std::string_view kRecentFilesSection = "RecentFiles";
inline constexpr std::size_t kRecentFileCount = 8;
inline constexpr SettingKey kLanguageSetting{"Options", "Language", "ru"};
// The reference impedance for SWR and reflection in "." form ("75", "50-j10"); empty for each
// file's own. The SWR up to which a sweep's range counts as bandwidth.
inline constexpr SettingKey kReferenceImpedanceSetting{"Options", "ReferenceImpedance", ""};
inline constexpr SettingKey kSwrThresholdSetting{"Options", "SwrThreshold", "2"};

// The interface language. Russian is the program's own; English is a translation of it.
enum class Language { Russian, English };

// The source the program starts with (0: MMANA, 1: a file): the one remembered, else MMANA where
// it can run, else a file.
int InitialSourceIndex(std::string_view remembered, bool mmanaCanRun);
// How a source index is remembered.
std::string_view SourceSettingText(int index);

// The language remembered; anything but English is Russian. A new choice applies at the next
// start, since the windows are captioned once.
Language ReadLanguage(SettingsStore& store);
void SaveLanguage(SettingsStore& store, Language language);
// What the user is told after choosing, in the language chosen.
std::string_view LanguageChosenMessage(Language language);

bool ReadReloadOnChange(SettingsStore& store);
void SaveReloadOnChange(SettingsStore& store, bool on);

// A file's name as it is remembered: absolute, against the current folder, so that a start from
// another folder still finds it. Names that cannot be made absolute stay as they are.
std::string AbsoluteFilePath(const std::string& path);

// The recent files with path (made absolute) in front: an earlier mention of it dropped, and the
// oldest beyond kRecentFileCount.
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path);
std::vector<std::string> WithoutRecentFile(std::vector<std::string> files, const std::string& path);

// The recent files as remembered, most recent first; blanks and repeats are skipped. A relative
// entry (remembered by an older version) is made absolute where the file is found so.
std::vector<std::string> ReadRecentFiles(SettingsStore& store);
void SaveRecentFiles(SettingsStore& store, const std::vector<std::string>& files);

} // namespace lobex
