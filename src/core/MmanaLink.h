#pragma once

#include "LoadContext.h"
#include "LoadResult.h"

#include <cstdint>
#include <string>

namespace lobex {

// The running MMANA program's windows, as far as the table link needs them. On Windows the
// calls go to the window manager; elsewhere MMANA may run under Wine or not at all; tests use
// a fake window tree.
class MmanaWindowLink {
public:
    virtual ~MmanaWindowLink() = default;
    // The top-level window of class "TMainWnd"; 0 when MMANA is not running.
    virtual std::uintptr_t FindMainWindow() = 0;
    // The memo on the first tab sheet of the first page control of the main window; 0 when
    // there is none.
    virtual std::uintptr_t FindMemo(std::uintptr_t mainWindow) = 0;
    // Focuses the memo, selects all of its text, copies it and returns the clipboard's text
    // (UTF-8); empty when the clipboard holds no text.
    virtual std::string CopyMemoText(std::uintptr_t memo) = 0;
};

// Reads the result table out of the running MMANA: finds its memo, copies the text, checks it
// is an MMANA table, keeps a copy in DataInFile and parses it for the set request.set. Remembers
// Everything read goes into the result.
LoadResult ReadFromMmana(LoadContext& ctx, MmanaWindowLink& link, const LoadRequest& request);

} // namespace lobex
