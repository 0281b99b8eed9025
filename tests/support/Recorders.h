#pragma once

#include "FakeDialogs.h"
#include "FakeMmanaLink.h"
#include "core/Services.h"

#include <map>
#include <string>
#include <vector>

namespace lobex::test {

struct RecordedMessage {
    std::string text;
    MessageIcon icon;
    std::string caption;
};

class RecordingMessages final : public MessageService {
public:
    void Show(std::string_view text, MessageIcon icon, std::string_view caption) override {
        shown.push_back({std::string(text), icon, std::string(caption)});
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const RecordedMessage& message : shown) {
            texts.push_back(message.text);
        }
        return texts;
    }
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
        return answer;
    }
    std::vector<std::string> opened;
    bool answer = true;
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
