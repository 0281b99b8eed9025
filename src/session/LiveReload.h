#pragma once

#include "core/AppState.h"
#include "core/Services.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Re-reading the file on show when another program (MMANA, at each calculation) rewrites it.
namespace lobex {

// What tells one version of a file from the next without reading it.
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified = 0; // the file clock's ticks
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp ReadFileStamp(const std::string& path);

// What to do when a settling pause ends. The writer may still be at work, so a version is
// reported only once its stamp held still for a whole pause, and only when it differs from the
// version reported last.
enum class SettleStep {
    Ignore, // nothing new, or the file is gone for now: wait for the next notice
    Wait,   // still changing: remember `now` and pause again
    Report, // a new version is complete
};
SettleStep NextSettleStep(const FileStamp& reported, const FileStamp& seen, const FileStamp& now);

// The entry of `after` that stands for the entry selected in `before` (the same text); -1 when
// none was selected or the new list lacks it.
int RepickedEntry(const SetList& before, const SetList& after);

// The messages of a load nobody asked for, held for the status line rather than shown in boxes
// that would pop up at every rewrite.
class HeldMessages final : public MessageService {
public:
    void Show(std::string_view text, MessageIcon icon, std::string_view caption) override;
    const std::vector<std::string>& Texts() const { return texts_; }

private:
    std::vector<std::string> texts_;
};

// The status line after a re-read that failed: what went wrong, on one line.
std::string ReloadFailedStatus(const std::vector<std::string>& messages);

} // namespace lobex
