#pragma once

#include <QByteArray>

#include <string>

namespace lobex {

// What to do when the file to be replaced is marked read-only.
enum class ReadOnlyTarget { Refuse, Replace };

// Writes bytes to path through a temporary file in the same folder and a rename, so an existing
// file is either replaced whole or left as it was. Returns the error's description, empty once
// the file is written. With Replace, a read-only file loses its read-only mark first (and gets
// it back when the write fails).
std::string WriteFileReplacing(const std::string& path, const QByteArray& bytes,
                               ReadOnlyTarget readOnly);

} // namespace lobex
