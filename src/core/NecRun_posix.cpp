#include "NecRun.h"

#include "AtomicFile.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Utf8Path.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace lobex {
namespace {

// The last line of a text that holds more than blanks: nec2c ends its output with the card
// error that stopped it.
std::string LastLine(const std::string& text) {
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) {
        return {};
    }
    const std::size_t found = text.find_last_of("\r\n", end);
    const std::size_t start = found == std::string::npos ? 0 : found + 1;
    return TrimSpaces(text.substr(start, end - start + 1));
}

std::string ReadOrEmpty(const std::string& path) {
    try {
        return ReadFileBytes(path);
    } catch (const std::exception&) {
        return {};
    }
}

constexpr std::string_view kFolderPrefix = "lobex-nec-";

// A fresh private folder, named after this process so that a later start can tell the folders
// of a copy that was killed before it could remove them; empty with the reason.
std::string FreshFolder(std::string& error) {
    std::string pattern = (std::filesystem::temp_directory_path() /
                           (std::string(kFolderPrefix) + std::to_string(getpid()) + "-XXXXXX"))
                              .string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = std::string("cannot make a temporary folder: ") + std::strerror(errno);
        return {};
    }
    return pattern;
}

// The process a run folder's name gives, 0 for a name of another form.
pid_t FolderOwner(const std::string& name) {
    if (!name.starts_with(kFolderPrefix)) {
        return 0;
    }
    const std::string_view rest = std::string_view(name).substr(kFolderPrefix.size());
    pid_t pid = 0;
    const auto [end, failure] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    return failure == std::errc() && end != rest.data() && *end == '-' ? pid : 0;
}

// Whether the process may still use its folder: one that has ended but is not yet reaped (a
// zombie, where /proc tells) does not; one of another user is left alone.
bool ProcessRuns(pid_t pid) {
    if (kill(pid, 0) != 0 && errno == ESRCH) {
        return false;
    }
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    // "pid (name) state ...": the name may hold spaces and parentheses.
    const std::size_t close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() || text[close + 2] != 'Z';
}

} // namespace

void RemoveStaleNecFolders() {
    std::error_code failed;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(failed);
    if (failed) {
        return;
    }
    for (const auto& entry : std::filesystem::directory_iterator(temp, failed)) {
        const pid_t owner = FolderOwner(entry.path().filename().string());
        struct stat info {};
        // Only this user's own folders, never a link, and only of a process that is gone.
        if (owner <= 0 || lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != getuid() || ProcessRuns(owner)) {
            continue;
        }
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

NecRunFolder::~NecRunFolder() {
    Remove();
}

void NecRunFolder::Remove() {
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        folder_.clear();
        output_.clear();
    }
}

bool NecRunFolder::Make(const std::string& deck, std::string& error) {
    Remove();
    if (!std::filesystem::is_regular_file(deck)) {
        error = "cannot read " + deck;
        return false;
    }
    std::string pattern = FreshFolder(error);
    if (pattern.empty()) {
        return false;
    }
    deck_ = std::filesystem::absolute(deck).string();
    folder_ = pattern;
    output_ = folder_ + "/" + std::filesystem::path(deck).stem().string() + ".out";
    return true;
}

bool NecRunFolder::MakeWithText(const std::string& name, const std::string& text,
                                std::string& error) {
    Remove();
    std::string pattern = FreshFolder(error);
    if (pattern.empty()) {
        return false;
    }
    folder_ = pattern;
    deck_ = folder_ + "/" + name;
    output_ = folder_ + "/" + std::filesystem::path(name).stem().string() + ".out";
    const FileWriteResult written = WriteAtomically(Utf8Path(deck_), text);
    if (!written.ok) {
        error = "cannot write the deck " + deck_ + ": " + written.error;
        Remove();
        return false;
    }
    return true;
}

std::vector<std::string> NecRunFolder::Command() const {
    return {"nec2c", "-i", deck_, "-o", output_};
}

std::string NecRunFolder::FailureText() const {
    std::string text = TrimSpaces(ReadOrEmpty(Log()));
    const std::string last = LastLine(ReadOrEmpty(output_));
    if (!last.empty() && text.find(last) == std::string::npos) {
        text += (text.empty() ? "" : "; ") + last;
    }
    return "nec2c failed on " + deck_ + (text.empty() ? std::string() : ": " + text);
}

std::string NecNotStartedText(const std::string& reason) {
    return "cannot run nec2c (is it installed?): " + reason;
}

} // namespace lobex
