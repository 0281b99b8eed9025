#include "AtomicFilePlatform.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace lobex::atomic_file {

std::FILE* CreateNewFile(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "wbx");
}

int FlushToDisk(std::FILE* file) {
    return fsync(fileno(file)) == 0 ? 0 : errno;
}

int FlushFolder(const std::filesystem::path& folder) {
    const int descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) {
        return errno;
    }
    const int error = fsync(descriptor) == 0 ? 0 : errno;
    close(descriptor);
    // Some file systems cannot flush a folder at all; the rename is then as safe as they allow.
    return error == EINVAL || error == ENOTSUP ? 0 : error;
}

} // namespace lobex::atomic_file
