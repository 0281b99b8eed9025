#include "AtomicFilePlatform.h"

#include <cerrno>
#include <io.h>

namespace lobex::atomic_file {

std::FILE* CreateNewFile(const std::filesystem::path& path) {
    return _wfopen(path.c_str(), L"wbx");
}

int FlushToDisk(std::FILE* file) {
    return _commit(_fileno(file)) == 0 ? 0 : errno;
}

// NTFS journals its folder entries itself; a folder cannot be opened for flushing without the
// Win32 backup privilege.
int FlushFolder(const std::filesystem::path&) {
    return 0;
}

} // namespace lobex::atomic_file
