#pragma once

#include <string>

namespace lobex {

// The user's private working folder for temporary files, created when missing, always ending
// in a separator. Fixed names such as "temp.x" live here, so on shared systems it is a folder
// only its owner can enter; an existing folder of that name that is not ours, or not a real
// folder, is never used.
std::string GetTempFolder();

// The same below a given base folder (the system temp folder for GetTempFolder).
std::string PrivateTempFolder(const std::string& base);

} // namespace lobex
