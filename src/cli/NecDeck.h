#pragma once

#include <string>

// A NEC-2 input deck (.nec) run through Debian's nec2c in a private temporary folder, for the
// subcommands that then read its output as any NEC output.
namespace lobex::cli {

// Whether a file name ends in ".nec", in any case.
bool IsNecDeck(const std::string& path);

// One run of nec2c: the folder made for it (mode 0700) and all in it are removed with it.
class NecDeckRun {
public:
    NecDeckRun() = default;
    ~NecDeckRun();
    NecDeckRun(const NecDeckRun&) = delete;
    NecDeckRun& operator=(const NecDeckRun&) = delete;

    // Runs nec2c on deck; true with the output file's path in output, false with nec2c's own
    // error text (or why it could not start) in error.
    bool Run(const std::string& deck, std::string& output, std::string& error);
    // The same for a deck's text, written into the private folder first (as model.nec).
    bool RunText(const std::string& text, std::string& output, std::string& error);

private:
    bool MakeFolder(std::string& error);
    bool Spawn(const std::string& deck, std::string& output, std::string& error);
    void Remove();
    std::string folder_;
};

} // namespace lobex::cli
