#include "NecDeck.h"

#include "core/AtomicFile.h"
#include "core/TextFile.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

extern char** environ;

namespace lobex::cli {
namespace {

// The last line of a text that holds more than blanks: nec2c ends its output with the card
// error that stopped it.
std::string LastLine(const std::string& text) {
    std::size_t end = text.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) {
        return {};
    }
    const std::size_t start = text.find_last_of("\r\n", end);
    return TrimSpaces(text.substr(start == std::string::npos ? 0 : start + 1,
                                  end - (start == std::string::npos ? 0 : start + 1) + 1));
}

std::string ReadOrEmpty(const std::string& path) {
    try {
        return ReadFileBytes(path);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

bool IsNecDeck(const std::string& path) {
    return path.size() >= 4 &&
           ToLowerAscii(std::string_view(path).substr(path.size() - 4)) == ".nec";
}

NecDeckRun::~NecDeckRun() {
    Remove();
}

void NecDeckRun::Remove() {
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        folder_.clear();
    }
}

bool NecDeckRun::Run(const std::string& deck, std::string& output, std::string& error) {
    if (!std::filesystem::is_regular_file(deck)) {
        error = "cannot read " + deck;
        return false;
    }
    return MakeFolder(error) && Spawn(deck, output, error);
}

bool NecDeckRun::RunText(const std::string& text, std::string& output, std::string& error) {
    if (!MakeFolder(error)) {
        return false;
    }
    const std::string deck = folder_ + "/model.nec";
    const FileWriteResult written = WriteAtomically(Utf8Path(deck), text);
    if (!written.ok) {
        error = "cannot write the deck " + deck + ": " + written.error;
        return false;
    }
    return Spawn(deck, output, error);
}

bool NecDeckRun::MakeFolder(std::string& error) {
    std::string pattern = (std::filesystem::temp_directory_path() / "lobex-nec-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = std::string("cannot make a temporary folder: ") + std::strerror(errno);
        return false;
    }
    Remove();
    folder_ = pattern;
    return true;
}

bool NecDeckRun::Spawn(const std::string& deck, std::string& output, std::string& error) {
    output = folder_ + "/deck.out";
    const std::string log = folder_ + "/nec2c.log";
    std::vector<std::string> words{"nec2c", "-i", std::filesystem::absolute(deck).string(), "-o",
                                   output};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    // nec2c writes scratch files beside its output: it runs inside the private folder.
    posix_spawn_file_actions_addchdir_np(&actions, folder_.c_str());
    pid_t child = 0;
    const int started = posix_spawnp(&child, "nec2c", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        error = std::string("cannot run nec2c (is it installed?): ") + std::strerror(started);
        return false;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return true;
    }
    std::string text = TrimSpaces(ReadOrEmpty(log));
    const std::string last = LastLine(ReadOrEmpty(output));
    if (!last.empty()) {
        text += (text.empty() ? "" : "; ") + last;
    }
    error = "nec2c failed on " + deck + (text.empty() ? std::string() : ": " + text);
    return false;
}

} // namespace lobex::cli
