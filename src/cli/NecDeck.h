#pragma once

#include "core/NecRun.h"

#include <string>

// A NEC-2 input deck (.nec) run through nec2c, for the subcommands that then read its output as
// any NEC output. The folder and the texts follow the rules of core/NecRun.
namespace lobex::cli {

// One run of nec2c, waited for; its folder is removed with it.
class NecDeckRun {
public:
    // Runs nec2c on deck; true with the output file's path in output, false with nec2c's own
    // error text (or why it could not start) in error.
    bool Run(const std::string& deck, std::string& output, std::string& error);
    // The same for a deck's text, written into the private folder first (as model.nec).
    bool RunText(const std::string& text, std::string& output, std::string& error);

private:
    bool Spawn(std::string& output, std::string& error);
    NecRunFolder folder_;
};

} // namespace lobex::cli
