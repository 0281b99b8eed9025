#include "TextFile.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "Messages.h"
#include "TextRules.h"
#include "Utf8Path.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace lobex {

LineReader::LineReader(const std::string& path, std::size_t blockSize)
    : buffer_(blockSize < 16 ? 16 : blockSize) {
    const std::filesystem::path filePath = Utf8Path(path);
    std::error_code error;
    if (!std::filesystem::exists(filePath, error)) {
        throw RuntimeError("File not found");
    }
    if (std::filesystem::is_directory(filePath, error)) {
        throw RuntimeError("Path/File access error");
    }
    file_.open(filePath, std::ios::binary);
    if (!file_.is_open()) {
        throw RuntimeError("Path/File access error");
    }
}

bool LineReader::ReadBlock() {
    nextCarriageReturn_ = kUnknown;
    nextLineFeed_ = kUnknown;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) {
        buffer_.resize(buffer_.size() * 2);
    }
    file_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
    const auto count = static_cast<std::size_t>(file_.gcount());
    if (file_.bad()) {
        throw RuntimeError("Device I/O error");
    }
    if (!started_) {
        started_ = true;
        if (count >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) {
            begin_ = 3;
        }
    }
    end_ += count;
    if (count == 0 || file_.eof()) {
        atEnd_ = true;
    }
    return count > 0;
}

std::size_t LineReader::FindLineEnd(std::size_t from) {
    // The next CR and the next LF are remembered, so a file with one kind of line end is not
    // searched to the end of the block for the other at every line.
    const auto next = [this, from](char wanted, std::size_t& cached) {
        if (cached < from || cached == kUnknown) {
            const void* found = std::memchr(buffer_.data() + from, wanted, end_ - from);
            cached =
                found == nullptr
                    ? end_
                    : static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data());
        }
        return cached;
    };
    return std::min(next('\r', nextCarriageReturn_), next('\n', nextLineFeed_));
}

bool LineReader::Next(std::string_view& line) {
    std::size_t scanned = 0; // bytes after begin_ known to hold no line end
    while (true) {
        if (skipLineFeed_ && begin_ < end_) {
            if (buffer_[begin_] == '\n') {
                ++begin_;
            }
            skipLineFeed_ = false;
        }
        if (!skipLineFeed_) {
            const std::size_t at = FindLineEnd(begin_ + scanned);
            if (at < end_) {
                line = std::string_view(buffer_.data() + begin_, at - begin_);
                skipLineFeed_ = buffer_[at] == '\r';
                begin_ = at + 1;
                return true;
            }
            scanned = end_ - begin_;
        }
        if (atEnd_) {
            skipLineFeed_ = false;
            if (begin_ < end_) {
                line = std::string_view(buffer_.data() + begin_, end_ - begin_);
                begin_ = end_;
                return true;
            }
            return false;
        }
        ReadBlock();
    }
}

std::string ReadFirstLine(const std::string& path) {
    LineReader reader(path, 4096);
    std::string_view line;
    if (!reader.Next(line)) {
        throw RuntimeError("Input past end of file");
    }
    return DecodeText(line);
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
