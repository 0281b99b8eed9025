#pragma once

#include "model/Checked.h"

#include <string>
#include <string_view>

namespace lobex {

// The icons a message box can carry; the numbers are the platform's own codes.
enum class MessageIcon : int { Critical = 16, Information = 64 };

// Modal messages to the user. The GUI shows real message boxes; tests and the CLI record them.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void Show(std::string_view text, MessageIcon icon, std::string_view caption) = 0;
    // The same with the cause beneath the text: where reading stopped and why. A service with
    // no place for it shows the text alone.
    virtual void ShowWithCause(std::string_view text, const Rejection& cause, MessageIcon icon,
                               std::string_view caption) {
        static_cast<void>(cause);
        Show(text, icon, caption);
    }
};

// The per-user settings store: string values under a section and a key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string GetSetting(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) = 0;
    virtual void SaveSetting(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
};

// Opens the program's help document; false when it cannot be shown.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual bool ShowHelp(std::string_view helpFile) = 0;
};

struct SettingKey {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
};

inline constexpr SettingKey kSavePathSetting{"Paths", "SavePath", ""};
inline constexpr SettingKey kDataPathSetting{"Paths", "DataPath", ""};
inline constexpr SettingKey kDescPathSetting{"Paths", "DescPath", ""};
inline constexpr SettingKey kJpegWidthSetting{"JPEG", "Width", "490"};
inline constexpr SettingKey kJpegHeightSetting{"JPEG", "Height", "290"};
inline constexpr SettingKey kJpegQualitySetting{"JPEG", "Quality", "75"};
inline constexpr SettingKey kJpegProgressiveSetting{"JPEG", "Progressive", "0"};
inline constexpr SettingKey kJpegGrayscaleSetting{"JPEG", "Grayscale", "0"};

inline std::string ReadSetting(SettingsStore& store, const SettingKey& setting) {
    return store.GetSetting(setting.section, setting.key, setting.defaultValue);
}

inline void WriteSetting(SettingsStore& store, const SettingKey& setting, std::string_view value) {
    store.SaveSetting(setting.section, setting.key, value);
}

class FileDialogService;
class MmanaWindowLink;

// The services the windows and the load flow talk to, passed together.
struct Services {
    MessageService& messages;
    SettingsStore& settings;
    HelpService& help;
    FileDialogService& dialogs;
    MmanaWindowLink& mmana;
};

} // namespace lobex
