#include "NecRun.h"

#include "AtomicFile.h"
#include "TextFile.h"
#include "TextRules.h"
#include "Utf8Path.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

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

} // namespace

bool IsNecDeck(const std::string& path) {
    return path.size() >= 4 &&
           ToLowerAscii(std::string_view(path).substr(path.size() - 4)) == ".nec";
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
    std::string pattern = (std::filesystem::temp_directory_path() / "lobex-nec-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = std::string("cannot make a temporary folder: ") + std::strerror(errno);
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
    std::string pattern = (std::filesystem::temp_directory_path() / "lobex-nec-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = std::string("cannot make a temporary folder: ") + std::strerror(errno);
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
