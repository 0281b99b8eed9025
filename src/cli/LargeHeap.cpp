#include "LargeHeap.h"

#include "core/FarField.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>

namespace lobex::cli {

#if defined(__linux__) && defined(__GLIBC__)

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// The largest step the C library takes from the heap rather than from mmap.
constexpr int kLargestHeapBlock = 32 << 20;

std::uintptr_t Address(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

} // namespace

LargeHeap::LargeHeap(std::uintmax_t fileBytes) {
    if (fileBytes < kLargeFarFieldBytes) {
        return;
    }
    // A grid takes about half its file's bytes; the heap grows by that much at once, and keeps
    // what is freed for the blocks that follow.
    const auto step = static_cast<int>(std::min<std::uintmax_t>(fileBytes, kLargestHeapBlock));
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, 2 * kLargestHeapBlock);
    mallopt(M_TOP_PAD, step);
    // The heap's first pages up to a huge page's boundary cannot be one: a block kept over them
    // puts the grid on whole huge pages. The block is never written, so it costs no memory. It
    // stops a page short of the boundary, where the heap writes the size of what is left: a
    // page written past the boundary before the advice would keep its huge page small.
    void* probe = std::malloc(1);
    const std::uintptr_t next = Address(probe);
    const std::uintptr_t heapEnd = Address(sbrk(0));
    std::free(probe);
    // Blocks from elsewhere than the heap (a sanitizer's allocator): nothing to make ready.
    if (next == 0 || next >= heapEnd) {
        return;
    }
    const std::uintptr_t boundary = (next + kHugePage - 1) & ~(kHugePage - 1);
    constexpr std::uintptr_t kShortOfBoundary = 4096 + 64;
    if (boundary - next > kShortOfBoundary) {
        filler_ = std::malloc(boundary - next - kShortOfBoundary);
    }
    const std::uintptr_t top = Address(sbrk(0)) & ~(kHugePage - 1);
    if (top > boundary) {
        madvise(reinterpret_cast<void*>(boundary), top - boundary, MADV_HUGEPAGE);
    }
}

LargeHeap::~LargeHeap() {
    std::free(filler_);
}

#else

LargeHeap::LargeHeap(std::uintmax_t) {}
LargeHeap::~LargeHeap() = default;

#endif

} // namespace lobex::cli
