#include "TempFolder.h"

#include "core/Lifecycle.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace lobex {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The per-user runtime folder, when the session has one as it should be: absolute, ours and
// closed to others.
std::string RuntimeFolder() {
    const std::string folder = Environment("XDG_RUNTIME_DIR");
    struct stat info {};
    if (folder.empty() || folder.front() != '/' || lstat(folder.c_str(), &info) != 0 ||
        !S_ISDIR(info.st_mode) || info.st_uid != getuid() || (info.st_mode & 077) != 0) {
        return {};
    }
    return folder;
}

std::string CacheFolder() {
    const std::string cache = Environment("XDG_CACHE_HOME");
    if (!cache.empty() && cache.front() == '/') {
        return cache;
    }
    const std::string home = Environment("HOME");
    return home.empty() ? std::string() : WithTrailingSeparator(home, '/') + ".cache";
}

} // namespace

bool MakePrivateFolder(const std::string& path, std::string& reason) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        reason = std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
        reason = "taken by something that is not a folder of this user";
        return false;
    }
    // Ours, but perhaps open to others or closed to us: put it right.
    if ((info.st_mode & 0777) != 0700 && chmod(path.c_str(), 0700) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    return true;
}

TempFolder GetTempFolder() {
    struct Candidate {
        std::string folder;
        std::string parent; // made first when missing
    };
    Candidate candidates[3];
    if (const std::string runtime = RuntimeFolder(); !runtime.empty()) {
        candidates[0].folder = WithTrailingSeparator(runtime, '/') + "lobex";
    }
    const std::string temp = Environment("TMPDIR");
    candidates[1].folder = WithTrailingSeparator(temp.empty() ? "/tmp" : temp, '/') + "lobex-" +
                           std::to_string(getuid());
    // The cache folder itself may not exist yet in a fresh home.
    if (const std::string cache = CacheFolder(); !cache.empty()) {
        candidates[2] = {WithTrailingSeparator(cache, '/') + "lobex", cache};
    }

    TempFolder result;
    for (const Candidate& candidate : candidates) {
        if (candidate.folder.empty()) {
            continue;
        }
        if (!candidate.parent.empty()) {
            mkdir(candidate.parent.c_str(), 0700);
        }
        std::string reason;
        if (MakePrivateFolder(candidate.folder, reason)) {
            return {candidate.folder + '/', {}};
        }
        result.problem += (result.problem.empty() ? "" : "\n") + candidate.folder + ": " + reason;
    }
    return result;
}

} // namespace lobex
