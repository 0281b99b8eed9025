#pragma once

#include <string>

namespace lobex {

// Where a run keeps its temporary files and the single-instance lock.
struct TempFolder {
    std::string path;    // ends in a separator; empty when no folder could be made
    std::string problem; // when none could be made: each place tried and why it failed, a line each
};

// The user's private working folder, created when missing. Fixed names such as "temp.x" live
// here, so on shared systems it is a folder only its owner can enter; an existing folder of
// that name that is not ours, or not a real folder, is never used. On POSIX, in this order:
// "lobex" in the per-user runtime folder (XDG_RUNTIME_DIR), "lobex-<uid>" in TMPDIR (else
// /tmp), "lobex" in the user's cache folder (XDG_CACHE_HOME, else ~/.cache). Every run of the
// user's finds the same folder, so nothing is left behind and the lock in it holds.
TempFolder GetTempFolder();

// The private folder at path, made when missing; false with the system's reason when there is
// none of ours there.
bool MakePrivateFolder(const std::string& path, std::string& reason);

} // namespace lobex
