#pragma once

#include "core/FileDialogs.h"
#include "core/MmanaLink.h"
#include "core/Services.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lobex::test {

// The text of each item, in order.
template <typename Items>
std::vector<std::string> TextsOf(const Items& items) {
    std::vector<std::string> texts;
    for (const auto& item : items) {
        texts.push_back(item.text);
    }
    return texts;
}

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
    std::string caption;
    std::string detail; // the cause beneath the text, empty without one
    friend bool operator==(const RecordedMessage&, const RecordedMessage&) = default;
};
using MessageList = std::vector<RecordedMessage>;

class RecordingMessages final : public MessageService {
public:
    void Show(std::string_view text, MessageIcon icon, std::string_view caption) override {
        shown.push_back({std::string(text), icon, std::string(caption), {}});
    }
    void ShowWithCause(std::string_view text, const Rejection& cause, MessageIcon icon,
                       std::string_view caption) override {
        shown.push_back({std::string(text), icon, std::string(caption), RejectionText(cause)});
    }
    std::vector<std::string> Texts() const { return TextsOf(shown); }
    std::vector<RecordedMessage> shown;
};

class MemorySettings final : public SettingsStore {
public:
    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view defaultValue) override {
        const auto found = values.find(std::string(section) + "/" + std::string(key));
        return found == values.end() ? std::string(defaultValue) : found->second;
    }
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override {
        values[std::string(section) + "/" + std::string(key)] = std::string(value);
    }
    std::map<std::string, std::string> values;
};

class RecordingHelp final : public HelpService {
public:
    bool ShowHelp(std::string_view helpFile) override {
        opened.emplace_back(helpFile);
        return true;
    }
    std::vector<std::string> opened;
};

// Answers the file dialogs with prepared choices and remembers how it was asked.
class FakeFileDialogs final : public FileDialogService {
public:
    std::string ChooseDataFile(std::string_view caption) override {
        captions.emplace_back(caption);
        if (whileAsking) {
            whileAsking();
        }
        return dataFile;
    }
    std::string AskOpenFile(std::string_view title, std::string_view filter,
                            std::string_view folder) override {
        openTitles.emplace_back(title);
        filters.emplace_back(filter);
        folders.emplace_back(folder);
        if (whileAsking) {
            whileAsking();
        }
        return openFile;
    }
    SaveChoice AskSaveFile(std::string_view filter, std::string_view folder) override {
        filters.emplace_back(filter);
        folders.emplace_back(folder);
        return save;
    }

    std::string dataFile;
    std::string openFile;
    // Runs while a dialog is up: what the user or the window does meanwhile.
    std::function<void()> whileAsking;
    std::vector<std::string> openTitles;
    SaveChoice save;
    std::vector<std::string> captions;
    std::vector<std::string> filters;
    std::vector<std::string> folders;
};

// MMANA's windows as a test arranges them: whether the main window and its memo exist, and
// the text a copy puts on the clipboard.
class FakeMmanaLink final : public MmanaWindowLink {
public:
    std::uintptr_t FindMainWindow() override {
        if (whileFinding) {
            whileFinding();
        }
        return running ? kMain : 0;
    }
    std::uintptr_t FindMemo(std::uintptr_t mainWindow) override {
        return mainWindow == kMain && hasMemo ? kMemo : 0;
    }
    std::string CopyMemoText(std::uintptr_t memo) override {
        return memo == kMemo ? text : std::string();
    }

    static constexpr std::uintptr_t kMain = 0x1010;
    static constexpr std::uintptr_t kMemo = 0x2020;
    bool running = false;
    bool hasMemo = true;
    std::string text;
    std::function<void()> whileFinding; // runs while MMANA is looked for, when set
};

// The recorders and fakes bundled the way the windows receive their services.
struct RecordingServices {
    RecordingMessages messages;
    MemorySettings settings;
    RecordingHelp help;
    FakeFileDialogs dialogs;
    FakeMmanaLink mmana;
    Services services{messages, settings, help, dialogs, mmana};
};

} // namespace lobex::test
