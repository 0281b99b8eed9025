#include "NecRun.h"

namespace lobex {

void RemoveStaleNecFolders() {}

NecRunFolder::~NecRunFolder() = default;

void NecRunFolder::Remove() {}

// nec2c is a Debian program; on Windows the decks are run by the user's own NEC-2 engine.
bool NecRunFolder::Make(const std::string& deck, std::string& error) {
    error = "nec2c is not available on this system to run " + deck;
    return false;
}

bool NecRunFolder::MakeWithText(const std::string&, const std::string&, std::string& error) {
    error = "nec2c is not available on this system";
    return false;
}

std::vector<std::string> NecRunFolder::Command() const {
    return {};
}

std::string NecRunFolder::FailureText() const {
    return {};
}

std::string NecNotStartedText(const std::string& reason) {
    return "cannot run nec2c: " + reason;
}

} // namespace lobex
