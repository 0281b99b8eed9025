#pragma once

#include <string>
#include <vector>

// The rules of one nec2c run on a NEC-2 input deck (.nec), shared by the CLI, which waits for
// it, and the window, which does not: a private temporary folder, the command, the error text.
namespace lobex {

// Whether a file name ends in ".nec", in any case.
bool IsNecDeck(const std::string& path);
// Whether a file name ends in ".maa" (an MMANA model, computed through a deck), in any case.
bool IsMaaModel(const std::string& path);

// Removes the run folders left behind by copies of the program that ended without removing
// them (killed): only this user's, and only of processes that are gone. Called at start-up.
void RemoveStaleNecFolders();

// The folder made for one run (mode 0700, nec2c works inside it: it writes scratch files beside
// its output), named after the process; it and all in it are removed with this object or by
// Remove().
class NecRunFolder {
public:
    NecRunFolder() = default;
    ~NecRunFolder();
    NecRunFolder(const NecRunFolder&) = delete;
    NecRunFolder& operator=(const NecRunFolder&) = delete;

    // Makes a fresh folder for a run on deck (an earlier one is removed); false with the reason.
    bool Make(const std::string& deck, std::string& error);
    // The same for a deck's text, written into the fresh folder first under name.
    bool MakeWithText(const std::string& name, const std::string& text, std::string& error);
    void Remove();

    const std::string& Path() const { return folder_; }
    // The output file, named after the deck, and the file nec2c's own messages go to.
    const std::string& Output() const { return output_; }
    std::string Log() const { return folder_ + "/nec2c.log"; }
    // The program and its arguments.
    std::vector<std::string> Command() const;
    // What went wrong after nec2c ended in failure: its messages and the card error that its
    // output ends with.
    std::string FailureText() const;

private:
    std::string deck_;
    std::string folder_;
    std::string output_;
};

// The text for a nec2c that could not be started at all.
std::string NecNotStartedText(const std::string& reason);

} // namespace lobex
