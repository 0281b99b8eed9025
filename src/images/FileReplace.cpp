#include "FileReplace.h"

#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

namespace lobex {

std::string WriteFileReplacing(const std::string& path, const QByteArray& bytes) {
    if (path.empty()) {
        return "Bad file name";
    }
    const FileWriteResult written =
        WriteAtomically(Utf8Path(path), std::string_view(bytes.constData(),
                                                         static_cast<std::size_t>(bytes.size())));
    if (written.ok) {
        return {};
    }
    return written.error.empty() ? std::string("Path/File access error") : written.error;
}

} // namespace lobex
