#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace lobex {

// What came of replacing a file: either it holds the new contents whole, or it is as it was and
// error says why.
struct [[nodiscard]] FileWriteResult {
    bool ok = false;
    std::string error;
};

// Takes the next piece of a file's contents.
using FileSink = std::function<void(std::string_view piece)>;
// Hands a file's contents to the sink, in as many pieces as suits the producer.
using FileContents = std::function<void(const FileSink& sink)>;
// A name in the target's folder for the new file; asked again while the name it gives is taken.
using TemporaryNamer = std::function<std::filesystem::path(const std::filesystem::path& target)>;

// ".<file name, its first 64 characters>.<eight random letters or digits>.tmp" in the target's
// folder.
std::filesystem::path RandomTemporaryName(const std::filesystem::path& target);

// Replaces target's contents as a whole. The contents go to a new file in the same folder,
// created under a name nothing held (so a link planted there is never followed), and are
// flushed onto the disk and checked before that file is renamed over the target (a link at the
// target is replaced, not written through); the folder is flushed after the rename, so a power
// cut leaves the old contents or the new ones. On any failure the target is left as it was and
// the new file is removed. A replaced regular file keeps its permissions; one without the
// owner's write bit (read-only) is refused, whoever runs the program. Temporary files of the
// target's naming older than a minute, left by a write that was killed, are removed on the way.
FileWriteResult WriteAtomically(const std::filesystem::path& target, const FileContents& contents,
                                const TemporaryNamer& names = RandomTemporaryName);
FileWriteResult WriteAtomically(const std::filesystem::path& target, std::string_view bytes);

// A failed write's message for the user: its own text, then the file and the system's reason on
// a line of their own.
std::string WithCause(std::string_view message, const std::string& path, std::string reason);

// Whether a and b are one existing file, however named (links, hard links, "./" and ".."): the
// same device and file number. Writers refuse an output that is their input, since replacing
// it would destroy what they read.
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace lobex
