#include "LiveReload.h"

#include "core/Texts.h"
#include "core/Utf8Path.h"

#include <filesystem>
#include <system_error>

namespace lobex {

FileStamp ReadFileStamp(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = Utf8Path(path);
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(file, error);
    if (error) {
        return {};
    }
    const auto modified = std::filesystem::last_write_time(file, error);
    if (error) {
        return {};
    }
    stamp.exists = true;
    stamp.modified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    return stamp;
}

SettleStep NextSettleStep(const FileStamp& reported, const FileStamp& seen, const FileStamp& now) {
    if (!now.exists) {
        return SettleStep::Ignore;
    }
    if (now != seen) {
        return SettleStep::Wait;
    }
    return now == reported ? SettleStep::Ignore : SettleStep::Report;
}

int RepickedEntry(const SetList& before, const SetList& after) {
    if (before.selected < 0 || before.selected >= static_cast<int>(before.entries.size())) {
        return -1;
    }
    const std::string& text = before.entries[static_cast<std::size_t>(before.selected)].text;
    for (std::size_t i = 0; i < after.entries.size(); ++i) {
        if (after.entries[i].text == text) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void HeldMessages::Show(std::string_view text, MessageIcon /*icon*/, std::string_view /*caption*/) {
    texts_.emplace_back(text);
}

std::string ReloadFailedStatus(const std::vector<std::string>& messages) {
    std::string status = LOBEX_TEXT("Файл не перечитан");
    if (messages.empty()) {
        return status;
    }
    status += ": ";
    bool blank = false;
    for (const char c : messages.front()) {
        const bool lineEnd = c == '\r' || c == '\n';
        if (lineEnd && !blank) {
            status += ' ';
        } else if (!lineEnd) {
            status += c;
        }
        blank = lineEnd;
    }
    return status;
}

} // namespace lobex
