#pragma once

#include "LoadContext.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// A whole file's bytes, read once. Raises RuntimeError("File not found") when it does not exist,
// "Path/File access error" when it cannot be opened (a folder included) and "Device I/O error"
// when reading fails.
std::string ReadFileBytes(const std::string& path);

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
