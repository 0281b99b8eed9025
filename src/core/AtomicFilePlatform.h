#pragma once

#include <cstdio>
#include <filesystem>

// What the atomic writer needs of the system, one source file per platform.
namespace lobex::atomic_file {

// A new file at path, opened for writing; null (errno set) when the name is taken or it cannot
// be made. A name that exists is never opened, links included.
std::FILE* CreateNewFile(const std::filesystem::path& path);

// Puts the file's written bytes on the disk; 0, or the system's error code.
int FlushToDisk(std::FILE* file);

// Puts the folder's entries (a rename into it) on the disk; 0, or the system's error code.
int FlushFolder(const std::filesystem::path& folder);

} // namespace lobex::atomic_file
