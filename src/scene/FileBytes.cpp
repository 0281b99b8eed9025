#include "FileBytes.h"

#include "core/Utf8Path.h"

#include <fstream>
#include <new>

namespace lobex {

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::ifstream file(Utf8Path(path), std::ios::binary | std::ios::ate);
    if (!file) {
        return false;
    }
    const std::streamoff size = file.tellg();
    if (size < 0) {
        return false;
    }
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    file.seekg(0);
    if (!file.read(bytes.data(), size)) {
        bytes.clear();
        return false;
    }
    return true;
}

} // namespace lobex
