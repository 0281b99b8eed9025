#include "NecDeck.h"

namespace lobex::cli {

bool NecDeckRun::Run(const std::string& deck, std::string&, std::string& error) {
    return folder_.Make(deck, error);
}

bool NecDeckRun::RunText(const std::string& text, std::string&, std::string& error) {
    return folder_.MakeWithText("model.nec", text, error);
}

} // namespace lobex::cli
