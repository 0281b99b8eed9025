#pragma once

#include "LoadContext.h"

#include <cstddef>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// Reads a text file line by line, a block at a time, so a large file never sits in memory
// whole. Lines may end in CR LF, LF or CR; a byte order mark at the start is dropped. Lines are
// the file's bytes: decode them with DecodeText where their text matters, not just numbers.
class LineReader {
public:
    // Raises RuntimeError("File not found") when the file cannot be opened for reading.
    explicit LineReader(const std::string& path, std::size_t blockSize = 64 * 1024);

    // The next line, valid until the following call; false at the end of the file.
    bool Next(std::string_view& line);

private:
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

    bool ReadBlock();
    // The first CR or LF at or after `from`; end_ when there is none in the buffer.
    std::size_t FindLineEnd(std::size_t from);

    std::ifstream file_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    bool skipLineFeed_ = false;
    std::size_t nextCarriageReturn_ = kUnknown;
    std::size_t nextLineFeed_ = kUnknown;
};

// The file's first line, decoded. Raises RuntimeError when the file is missing, unreadable
// or empty.
std::string ReadFirstLine(const std::string& path);

// Whether a line holds nothing but spaces.
bool IsBlankLine(std::string_view line);

// Writes header (when not empty) and body, each followed by CR LF. The text goes to a temporary
// file beside the target, which then replaces it, so a failed write leaves no half file; the
// failure shows "Ошибка записи в файл. Данные не сохранены." (critical icon).
bool WriteTextFile(LoadContext& ctx, const std::string& path, std::string_view body,
                   std::string_view header);

} // namespace lobex
