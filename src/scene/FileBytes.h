#pragma once

#include <string>

namespace lobex {

// Reads a whole file (UTF-8 path) into bytes in one piece. False when it cannot be opened or
// read; bytes is then empty.
bool ReadFileBytes(const std::string& path, std::string& bytes);

} // namespace lobex
