#include "Remembered.h"

#include "Utf8Path.h"

#include <algorithm>
#include <filesystem>

namespace lobex {
namespace {

constexpr std::string_view kMmanaSource = "MMANA";
constexpr std::string_view kFileSource = "File";
constexpr std::string_view kEnglishSetting = "en";
constexpr std::string_view kRussianSetting = "ru";

std::string RecentKey(std::size_t index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

int InitialSourceIndex(std::string_view remembered, bool mmanaCanRun) {
    if (remembered == kMmanaSource) {
        return 0;
    }
    if (remembered == kFileSource) {
        return 1;
    }
    return mmanaCanRun ? 0 : 1;
}

std::string_view SourceSettingText(int index) {
    return index == 0 ? kMmanaSource : kFileSource;
}

Language ReadLanguage(SettingsStore& store) {
    return ReadSetting(store, kLanguageSetting) == kEnglishSetting ? Language::English
                                                                   : Language::Russian;
}

void SaveLanguage(SettingsStore& store, Language language) {
    WriteSetting(store, kLanguageSetting,
                 language == Language::English ? kEnglishSetting : kRussianSetting);
}

std::string_view LanguageChosenMessage(Language language) {
    return language == Language::English
               ? "The interface will be in English the next time the program starts."
               : "Интерфейс будет на русском языке при следующем запуске программы.";
}

bool ReadReloadOnChange(SettingsStore& store) {
    return ReadSetting(store, kReloadOnChangeSetting) != "0";
}

void SaveReloadOnChange(SettingsStore& store, bool on) {
    WriteSetting(store, kReloadOnChangeSetting, on ? "1" : "0");
}

std::string AbsoluteFilePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(Utf8Path(path), error);
    return error ? path : PathToUtf8(absolute.lexically_normal());
}

std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path) {
    const std::string remembered = AbsoluteFilePath(path);
    files = WithoutRecentFile(std::move(files), remembered);
    files.insert(files.begin(), remembered);
    if (files.size() > kRecentFileCount) {
        files.resize(kRecentFileCount);
    }
    return files;
}

std::vector<std::string> WithoutRecentFile(std::vector<std::string> files,
                                           const std::string& path) {
    std::erase(files, path);
    return files;
}

std::vector<std::string> ReadRecentFiles(SettingsStore& store) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        std::string path = store.GetSetting(kRecentFilesSection, RecentKey(i), "");
        std::error_code error;
        if (!path.empty() && !Utf8Path(path).is_absolute() &&
            std::filesystem::exists(Utf8Path(path), error)) {
            path = AbsoluteFilePath(path);
        }
        if (!path.empty() && std::find(files.begin(), files.end(), path) == files.end()) {
            files.push_back(std::move(path));
        }
    }
    return files;
}

void SaveRecentFiles(SettingsStore& store, const std::vector<std::string>& files) {
    for (std::size_t i = 0; i < kRecentFileCount; ++i) {
        store.SaveSetting(kRecentFilesSection, RecentKey(i), i < files.size() ? files[i] : "");
    }
}

} // namespace lobex
