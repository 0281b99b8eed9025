#pragma once

#include "core/MmanaLink.h"

#include <memory>
#include <string>

namespace lobex {

// The link to a running MMANA for this platform. utilsFolder holds the program's helpers.
std::unique_ptr<MmanaWindowLink> CreateMmanaWindowLink(const std::string& utilsFolder);

// Whether MMANA can run on this machine at all: always on Windows, elsewhere only where Wine has
// a prefix folder.
bool MmanaCanRunHere();

} // namespace lobex
