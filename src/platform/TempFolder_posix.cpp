#include "TempFolder.h"

#include "core/Lifecycle.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace lobex {
namespace {

bool IsOurPrivateFolder(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
        return false;
    }
    if ((info.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) {
        return false;
    }
    return true;
}

} // namespace

std::string PrivateTempFolder(const std::string& base) {
    const std::string root = WithTrailingSeparator(base.empty() ? "/tmp" : base, '/');
    const std::string preferred = root + "lobex-" + std::to_string(getuid());
    if ((mkdir(preferred.c_str(), 0700) == 0 || errno == EEXIST) && IsOurPrivateFolder(preferred)) {
        return preferred + '/';
    }
    // Someone else holds the usual name: take a fresh folder of our own instead.
    std::string pattern = preferred + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) != nullptr) {
        return std::string(buffer.data()) + '/';
    }
    return root;
}

std::string GetTempFolder() {
    const char* base = std::getenv("TMPDIR");
    return PrivateTempFolder(base != nullptr && *base != '\0' ? base : "/tmp");
}

} // namespace lobex
