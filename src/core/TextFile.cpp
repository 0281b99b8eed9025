#include "TextFile.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "Messages.h"
#include "TextRules.h"
#include "Utf8Path.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lobex {

std::string ReadFileBytes(const std::string& path) {
    const std::filesystem::path filePath = Utf8Path(path);
    std::error_code error;
    if (!std::filesystem::exists(filePath, error)) {
        throw RuntimeError("File not found");
    }
    if (std::filesystem::is_directory(filePath, error)) {
        throw RuntimeError("Path/File access error");
    }
    std::ifstream file(filePath, std::ios::binary);
    if (!file.is_open()) {
        throw RuntimeError("Path/File access error");
    }
    std::string bytes;
    // The size is a hint only: the file may change while it is read.
    const std::uintmax_t size = std::filesystem::file_size(filePath, error);
    constexpr std::size_t kBlock = 64 * 1024;
    bytes.resize(!error && size < (std::uintmax_t{1} << 40) ? static_cast<std::size_t>(size) + 1
                                                            : kBlock);
    std::size_t filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        file.read(bytes.data() + filled, static_cast<std::streamsize>(bytes.size() - filled));
        filled += static_cast<std::size_t>(file.gcount());
        if (file.bad()) {
            throw RuntimeError("Device I/O error");
        }
        if (file.eof()) {
            break;
        }
    }
    bytes.resize(filled);
    return bytes;
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
        Tell(ctx, kWriteErrorMessage, MessageIcon::Critical);
    }
    return written.ok;
}

} // namespace lobex
