#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

namespace lobex {
namespace {

// Creating a name that some other process could have planted would let it choose what gets
// written to; a new-file open fails on any existing name, links included.
constexpr int kNameAttempts = 32;
constexpr std::size_t kNameKept = 64;

std::FILE* CreateNewFile(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
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

    // Flushes and closes the file; an error of any write, the flush or the close fails it.
    bool Close(std::string& error) {
        errno = 0;
        if (error_ == 0 && std::fflush(file_) != 0) {
            error_ = errno != 0 ? errno : EIO;
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
    static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kLetters) - 2);
    std::string suffix(8, '0');
    for (char& letter : suffix) {
        letter = kLetters[pick(random)];
    }
    // Only the start of a long name is kept, so the temporary name fits where the target's did.
    std::filesystem::path::string_type kept = target.filename().native();
    kept.resize(std::min<std::size_t>(kept.size(), kNameKept));
    std::filesystem::path name(".");
    name += kept;
    name += "." + suffix + ".tmp";
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

    std::filesystem::path name;
    std::FILE* created = nullptr;
    for (int attempt = 0; attempt < kNameAttempts && created == nullptr; ++attempt) {
        name = names(target);
        errno = 0;
        created = CreateNewFile(name);
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

FileWriteResult WriteAtomically(const std::filesystem::path& target, std::string_view bytes) {
    return WriteAtomically(target, [bytes](const FileSink& sink) { sink(bytes); });
}

} // namespace lobex
