#include "TextFilePlatform.h"

#include <cstdint>

#include <sys/mman.h>

// Linux 5.14; older systems refuse it, harmlessly.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace lobex::text_file {

void AdviseLargeBuffer(char* data, std::size_t size) {
    constexpr std::uintptr_t kPage = 4096;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (start + size) & ~(kPage - 1);
    if (end > first) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
    // The pages made in one call rather than a fault each as the buffer is first written.
    const std::uintptr_t low = start & ~(kPage - 1);
    if (size > 0) {
        madvise(reinterpret_cast<void*>(low), start + size - low, MADV_POPULATE_WRITE);
    }
}

} // namespace lobex::text_file
