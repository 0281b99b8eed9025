#include "AtomicFile.h"

#include "AtomicFilePlatform.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <system_error>

namespace lobex {
namespace {

// Creating a name that some other process could have planted would let it choose what gets
// written to; a new-file open fails on any existing name, links included.
constexpr int kNameAttempts = 32;
constexpr std::size_t kNameKept = 64;
constexpr std::size_t kSuffixLength = 8;
constexpr char kSuffixLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kTemporaryExtension = ".tmp";
// A temporary file this old was left by a write that never finished (the program was killed);
// a write still under way is far younger.
constexpr auto kStaleAge = std::chrono::minutes(1);

// ".<the target's name, its first 64 characters>." that begins the target's temporary names.
std::filesystem::path::string_type TemporaryPrefix(const std::filesystem::path& target) {
    // Only the start of a long name is kept, so the temporary name fits where the target's did.
    std::filesystem::path::string_type kept = target.filename().native();
    kept.resize(std::min<std::size_t>(kept.size(), kNameKept));
    std::filesystem::path name(".");
    name += kept;
    name += ".";
    return name.native();
}

bool IsSuffixLetter(std::filesystem::path::value_type c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
}

// Whether name is one of the target's temporary names, as RandomTemporaryName makes them.
bool IsTemporaryName(const std::filesystem::path::string_type& name,
                     const std::filesystem::path::string_type& prefix) {
    const std::size_t extension = kTemporaryExtension.size();
    if (name.size() != prefix.size() + kSuffixLength + extension ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t i = 0; i < extension; ++i) {
        if (name[prefix.size() + kSuffixLength + i] !=
            static_cast<std::filesystem::path::value_type>(kTemporaryExtension[i])) {
            return false;
        }
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
                       name.begin() + static_cast<std::ptrdiff_t>(prefix.size() + kSuffixLength),
                       IsSuffixLetter);
}

// Removes the target's temporary files that a killed write left behind, so they do not pile
// up. Only plain files of exactly our naming beside the target, and only old ones: a write of
// another copy of the program may be using a young one.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
    const std::filesystem::path::string_type prefix = TemporaryPrefix(target);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    const auto now = std::filesystem::file_time_type::clock::now();
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::directory_entry& entry = *entries;
        std::error_code ignored;
        if (!IsTemporaryName(entry.path().filename().native(), prefix) ||
            !entry.is_regular_file(ignored) || entry.is_symlink(ignored)) {
            continue;
        }
        const auto written = entry.last_write_time(ignored);
        if (!ignored && now - written > kStaleAge) {
            std::filesystem::remove(entry.path(), ignored);
        }
    }
}

// The owner's write bit is the read-only mark (the Windows attribute maps onto it). Access
// checks would not do: they let an administrator write anything.
bool IsMarkedReadOnly(const std::filesystem::file_status& status) {
    return std::filesystem::is_regular_file(status) &&
           (status.permissions() & std::filesystem::perms::owner_write) ==
               std::filesystem::perms::none;
}

std::string Describe(int code, const char* fallback) {
    return code != 0 ? std::generic_category().message(code) : std::string(fallback);
}

FileWriteResult Failure(std::string error) {
    return {false, std::move(error)};
}

// The new file until it has been renamed over the target: closed and removed when anything
// goes wrong on the way, exceptions from the producer included.
class PendingFile {
public:
    PendingFile(std::filesystem::path path, std::FILE* file)
        : path_(std::move(path)), file_(file) {}
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
        if (!committed_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }

    void Write(std::string_view piece) {
        if (error_ != 0 || piece.empty()) {
            return;
        }
        errno = 0;
        if (std::fwrite(piece.data(), 1, piece.size(), file_) != piece.size()) {
            error_ = errno != 0 ? errno : EIO;
        }
    }

    // Flushes the file onto the disk and closes it; an error of any write, the flush or the
    // close fails it. Renamed unflushed, the new name could hold an empty file after a power cut.
    bool Close(std::string& error) {
        errno = 0;
        if (error_ == 0 && std::fflush(file_) != 0) {
            error_ = errno != 0 ? errno : EIO;
        }
        if (error_ == 0) {
            error_ = atomic_file::FlushToDisk(file_);
        }
        std::FILE* file = file_;
        file_ = nullptr;
        errno = 0;
        if (std::fclose(file) != 0 && error_ == 0) {
            error_ = errno != 0 ? errno : EIO;
        }
        if (error_ != 0) {
            error = Describe(error_, "the file could not be written");
        }
        return error_ == 0;
    }

    bool RenameOver(const std::filesystem::path& target, std::string& error) {
        std::error_code failure;
        std::filesystem::rename(path_, target, failure);
        if (failure) {
            error = failure.message();
            return false;
        }
        committed_ = true;
        // The rename itself lives in the folder. The target holds the new contents whatever
        // comes of this, so a folder that cannot be flushed does not fail the write.
        (void)atomic_file::FlushFolder(target.parent_path());
        return true;
    }

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    std::FILE* file_;
    int error_ = 0;
    bool committed_ = false;
};

} // namespace

std::filesystem::path RandomTemporaryName(const std::filesystem::path& target) {
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kSuffixLetters) - 2);
    std::string suffix(kSuffixLength, '0');
    for (char& letter : suffix) {
        letter = kSuffixLetters[pick(random)];
    }
    std::filesystem::path name(TemporaryPrefix(target));
    name += suffix;
    name += kTemporaryExtension;
    return target.parent_path() / name;
}

FileWriteResult WriteAtomically(const std::filesystem::path& target, const FileContents& contents,
                                const TemporaryNamer& names) {
    if (!target.has_filename()) {
        return Failure("no file name");
    }
    std::error_code statusError;
    const std::filesystem::file_status old = std::filesystem::symlink_status(target, statusError);
    if (std::filesystem::is_directory(old)) {
        return Failure(std::make_error_code(std::errc::is_a_directory).message());
    }
    if (IsMarkedReadOnly(old)) {
        return Failure(std::make_error_code(std::errc::permission_denied).message());
    }
    RemoveStaleTemporaries(target);

    std::filesystem::path name;
    std::FILE* created = nullptr;
    for (int attempt = 0; attempt < kNameAttempts && created == nullptr; ++attempt) {
        name = names(target);
        errno = 0;
        created = atomic_file::CreateNewFile(name);
        if (created == nullptr && errno != EEXIST) {
            return Failure(Describe(errno, "the file could not be created"));
        }
    }
    if (created == nullptr) {
        return Failure("no free name for a temporary file");
    }
    PendingFile pending(name, created);
    contents([&pending](std::string_view piece) { pending.Write(piece); });
    std::string error;
    if (!pending.Close(error)) {
        return Failure(error);
    }
    if (std::filesystem::is_regular_file(old)) {
        std::error_code ignored;
        std::filesystem::permissions(pending.Path(), old.permissions(), ignored);
    }
    if (!pending.RenameOver(target, error)) {
        return Failure(error);
    }
    return {true, {}};
}

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

FileWriteResult WriteAtomically(const std::filesystem::path& target, std::string_view bytes) {
    return WriteAtomically(target, [bytes](const FileSink& sink) { sink(bytes); });
}

std::string WithCause(std::string_view message, const std::string& path, std::string reason) {
    // The plot engine's reason names the file already.
    const std::string named = "cannot write " + path + ": ";
    if (reason.starts_with(named)) {
        reason.erase(0, named.size());
    }
    return std::string(message) + "\r\n" + path + ": " +
           (reason.empty() ? std::string("the file could not be written") : reason);
}

} // namespace lobex
