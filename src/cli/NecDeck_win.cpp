#include "NecDeck.h"

#include "core/TextRules.h"

namespace lobex::cli {

bool IsNecDeck(const std::string& path) {
    return path.size() >= 4 &&
           ToLowerAscii(std::string_view(path).substr(path.size() - 4)) == ".nec";
}

NecDeckRun::~NecDeckRun() = default;

void NecDeckRun::Remove() {}

// nec2c is a Debian program; on Windows the decks are run by the user's own NEC-2 engine.
bool NecDeckRun::Run(const std::string& deck, std::string&, std::string& error) {
    error = "nec2c is not available on this system to run " + deck;
    return false;
}

bool NecDeckRun::RunText(const std::string&, std::string&, std::string& error) {
    error = "nec2c is not available on this system";
    return false;
}

} // namespace lobex::cli
