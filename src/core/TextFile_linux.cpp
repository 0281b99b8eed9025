#include "TextFilePlatform.h"

#include <cstdint>

#include <sys/mman.h>

namespace lobex::text_file {

void AdviseLargeBuffer(char* data, std::size_t size) {
    constexpr std::uintptr_t kPage = 4096;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (start + size) & ~(kPage - 1);
    if (end > first) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
}

} // namespace lobex::text_file
