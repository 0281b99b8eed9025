#pragma once

#include "Errors.h"
#include "LoadContext.h"
#include "LoadResult.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// No MMANA file has lines anywhere near this long; a file that does is no MMANA file.
inline constexpr std::size_t kMaxLineLength = 64 * 1024;

// Why a file could not be read.
enum class ReadFailure { NotFound, NotAFile, Unreadable, LineTooLong };

class ReadError : public RuntimeError {
public:
    ReadError(ReadFailure failure, const char* what, Rejection cause = {})
        : RuntimeError(what), failure_(failure), cause_(cause) {}
    ReadFailure Failure() const { return failure_; }
    // Why, in the user's words ("это папка", "нет прав на чтение").
    const Rejection& Cause() const { return cause_; }

private:
    ReadFailure failure_;
    Rejection cause_;
};

// A whole text file's bytes, read once. Raises ReadError when it does not exist, is no regular
// file (a folder, a pipe, a device), cannot be read, or holds a line longer than
// kMaxLineLength.
std::string ReadFileBytes(const std::string& path);

// Any file's bytes, text or binary, lines of any length; false (bytes empty) when it cannot be
// read as ReadFileBytes tells.
bool ReadAnyFileBytes(const std::string& path, std::string& bytes);

// What the user is told when a data file cannot be read: "Файл не найден" for a missing file,
// the format message for what is no data file, the read error otherwise; each with its cause.
LoadMessage ReadFailureMessage(const ReadError& error);

// The lines of a text in memory. Lines may end in CR LF, LF or CR; a byte order mark at the start
// is dropped. Lines are the text's bytes: decode them with DecodeText where their text matters,
// not just numbers.
class TextLines {
public:
    explicit TextLines(std::string_view text);

    // The next line, a view into the text; false at the end.
    bool Next(std::string_view& line);
    // The text from the start of the next line on, for a reader that walks lines itself.
    std::string_view Rest() const { return text_.substr(at_); }
    // Passes over bytes such a reader took, its line ends included.
    void Skip(std::size_t count) { at_ += count; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// The number of the line of text that holds offset `at`, counted from 1 as editors count (CR LF
// is one line end): for telling where reading stopped.
int LineNumberAt(std::string_view text, std::size_t at);

// The text's first line, decoded; empty when the text is.
std::string FirstLine(std::string_view text);

// Whether a line holds nothing but spaces.
bool IsBlankLine(std::string_view line);

// Writes header (when not empty) and body, each followed by CR LF. The text goes to a temporary
// file beside the target, which then replaces it, so a failed write leaves no half file; the
// failure shows "Ошибка записи в файл. Данные не сохранены." (critical icon).
bool WriteTextFile(LoadContext& ctx, const std::string& path, std::string_view body,
                   std::string_view header);

} // namespace lobex
