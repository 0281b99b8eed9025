#include "NecDeck.h"

namespace lobex::cli {

bool NecDeckRun::Run(const std::string& deck, std::string&, std::string& error) {
    return folder_.Make(deck, error);
}

} // namespace lobex::cli
