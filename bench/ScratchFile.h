#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace lobex::bench {

// A file the benchmarks write, removed when the program ends.
struct ScratchFile {
    explicit ScratchFile(const char* name)
        : path((std::filesystem::temp_directory_path() / name).string()) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    std::string path;
};

} // namespace lobex::bench
