#include "TextFile.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "Messages.h"
#include "TextFilePlatform.h"
#include "TextRules.h"
#include "Utf8Path.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace lobex {

namespace {

// Moves lineStart past every line end that lies within the longest line allowed of it; false
// when the bytes from lineStart on hold a line longer than that.
bool LinesFit(const std::string& bytes, std::size_t filled, std::size_t& lineStart,
              std::size_t longestLine) {
    while (filled - lineStart > longestLine) {
        // Lines are short, so the last line end of the window is a few bytes from its end.
        std::size_t p = lineStart + longestLine;
        while (bytes[p] != '\n' && bytes[p] != '\r') {
            if (p == lineStart) {
                return false;
            }
            --p;
        }
        lineStart = p + 1;
    }
    return true;
}

std::string_view NotAFileCause(const std::filesystem::file_status& status) {
    if (std::filesystem::is_directory(status)) {
        return kFolderCause;
    }
    return std::filesystem::is_fifo(status) ? kPipeCause : kNotAFileCause;
}

std::string ReadBytes(const std::string& path, std::size_t longestLine) {
    const std::filesystem::path filePath = Utf8Path(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(filePath, error);
    if (!std::filesystem::exists(status)) {
        throw ReadError(ReadFailure::NotFound, "File not found");
    }
    // A pipe would block the reading, a device never ends: only regular files hold data, and
    // the type is known before anything is opened.
    if (!std::filesystem::is_regular_file(status)) {
        throw ReadError(ReadFailure::NotAFile, "Bad file mode", {NotAFileCause(status)});
    }
    errno = 0;
    std::ifstream file(filePath, std::ios::binary);
    if (!file.is_open()) {
        const bool denied = errno == EACCES || errno == EPERM;
        throw ReadError(ReadFailure::Unreadable, "Path/File access error",
                        {denied ? kNoReadPermissionCause : kInputOutputCause});
    }
    std::string bytes;
    // The size is a hint only: the file may change while it is read. A large file grows the
    // buffer as it comes, so one with no line ends is refused before it is held whole.
    constexpr std::size_t kBlock = std::size_t{4} << 20;
    const std::uintmax_t size = std::filesystem::file_size(filePath, error);
    const std::size_t first =
        !error && size < 4 * kBlock ? static_cast<std::size_t>(size) + 1 : kBlock;
    bytes.reserve(first);
    text_file::AdviseLargeBuffer(bytes.data(), first);
    bytes.resize(first);
    std::size_t filled = 0;
    std::size_t lineStart = 0;
    while (true) {
        if (filled == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const std::size_t want = std::min(bytes.size() - filled, kBlock);
        file.read(bytes.data() + filled, static_cast<std::streamsize>(want));
        filled += static_cast<std::size_t>(file.gcount());
        if (file.bad()) {
            throw ReadError(ReadFailure::Unreadable, "Device I/O error", {kInputOutputCause});
        }
        if (!LinesFit(bytes, filled, lineStart, longestLine)) {
            throw ReadError(ReadFailure::LineTooLong, "Line too long",
                            {kLineTooLongCause, LineNumberAt(bytes, lineStart)});
        }
        if (file.eof()) {
            break;
        }
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

std::string ReadFileBytes(const std::string& path) {
    return ReadBytes(path, kMaxLineLength);
}

bool ReadAnyFileBytes(const std::string& path, std::string& bytes) {
    try {
        bytes = ReadBytes(path, std::numeric_limits<std::size_t>::max());
        return true;
    } catch (const std::exception&) {
        bytes.clear();
        return false;
    }
}

LoadMessage ReadFailureMessage(const ReadError& error) {
    switch (error.Failure()) {
    case ReadFailure::NotFound:
        return {std::string(kFileNotFoundMessage), MessageIcon::Information, error.Cause()};
    case ReadFailure::NotAFile:
    case ReadFailure::LineTooLong:
        return {std::string(kWrongFormatMessage), MessageIcon::Information, error.Cause()};
    case ReadFailure::Unreadable:
        break;
    }
    return {std::string(kReadErrorMessage), MessageIcon::Critical, error.Cause()};
}

TextLines::TextLines(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
        at_ = 3;
    }
}

bool TextLines::Next(std::string_view& line) {
    const std::size_t size = text_.size();
    if (at_ >= size) {
        return false;
    }
    // A plain walk: searching for either line end with a library call costs a call per byte.
    const char* const text = text_.data();
    std::size_t end = at_;
    while (end < size && text[end] != '\n' && text[end] != '\r') {
        ++end;
    }
    line = text_.substr(at_, end - at_);
    at_ = end + 1;
    if (end < size && text[end] == '\r' && at_ < size && text[at_] == '\n') {
        ++at_;
    }
    return true;
}

int LineNumberAt(std::string_view text, std::size_t at) {
    int line = 1;
    for (std::size_t i = 0; i < at && i < text.size(); ++i) {
        const bool endOfCrLf = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
        if ((text[i] == '\n' || text[i] == '\r') && !endOfCrLf) {
            ++line;
        }
    }
    return line;
}

std::string FirstLine(std::string_view text) {
    TextLines lines(text);
    std::string_view line;
    return lines.Next(line) ? DecodeText(line) : std::string();
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool WriteTextFile(LoadContext& ctx, const std::string& path, std::string_view body,
                   std::string_view header) {
    const FileWriteResult written = WriteAtomically(Utf8Path(path), [&](const FileSink& sink) {
        if (!header.empty()) {
            sink(header);
            sink("\r\n");
        }
        sink(body);
        sink("\r\n");
    });
    if (!written.ok) {
        Tell(ctx, WithCause(kWriteErrorMessage, path, written.error), MessageIcon::Critical);
    }
    return written.ok;
}

} // namespace lobex
