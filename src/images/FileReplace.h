#pragma once

#include <QByteArray>

#include <string>

namespace lobex {

// Writes bytes to path through a temporary file in the same folder and a rename
// (WriteAtomically), so an existing file is either replaced whole or left as it was; a
// read-only one is refused. Returns the error's description, empty once the file is written.
std::string WriteFileReplacing(const std::string& path, const QByteArray& bytes);

} // namespace lobex
