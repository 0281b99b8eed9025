#include "FileDialogs.h"

#include "TextRules.h"
#include "Utf8Path.h"

#include <filesystem>
#include <system_error>

namespace lobex {

std::vector<std::pair<std::string, std::string>> ParseFileFilter(std::string_view filter) {
    const std::vector<std::string> parts = Split(filter, "|");
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

std::string RememberedFolder(std::string_view stored, std::string_view appFolder) {
    if (!stored.empty()) {
        std::error_code error;
        if (std::filesystem::is_directory(Utf8Path(stored), error)) {
            return std::string(stored);
        }
    }
    return std::string(appFolder);
}

std::string FolderOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? std::string()
                                               : std::string(path.substr(0, separator + 1));
}

std::int16_t OpenSaveFileDialog(AppState& state, SettingsStore& settings,
                                FileDialogService& dialogs, std::string_view filter,
                                std::string_view startFolder) {
    state.Paths.SavePath = RememberedFolder(ReadSetting(settings, kSavePathSetting),
                                            RememberedFolder(startFolder, state.Paths.AppFolder));
    const SaveChoice choice = dialogs.AskSaveFile(filter, state.Paths.SavePath);
    if (choice.filterIndex == 0 || choice.path.empty()) {
        return 0;
    }
    // The folder of the chosen file itself, even when its name also occurs earlier in the path.
    state.Paths.SavePath = FolderOf(choice.path);
    WriteSetting(settings, kSavePathSetting, state.Paths.SavePath);
    state.Paths.SaveFileName = choice.path;
    return static_cast<std::int16_t>(choice.filterIndex);
}

std::string LastDataFolder(const AppState& state, SettingsStore& settings) {
    return RememberedFolder(ReadSetting(settings, kDataPathSetting), state.Paths.AppFolder);
}

} // namespace lobex
