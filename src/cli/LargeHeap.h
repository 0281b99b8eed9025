#pragma once

#include <cstdint>

namespace lobex::cli {

// The heap made ready for what a large file's reading takes: a grid of a few megabytes in small
// blocks, each page of which costs a page fault, and in a virtual machine those cost a third of
// the reading. While one lives, the C library's heap grows in large steps and, where the system
// gives them, in huge pages; elsewhere it does nothing. Small files go as they are: the setting
// up would cost a short run more than it saves.
class LargeHeap {
public:
    explicit LargeHeap(std::uintmax_t fileBytes);
    ~LargeHeap();
    LargeHeap(const LargeHeap&) = delete;
    LargeHeap& operator=(const LargeHeap&) = delete;

private:
    void* filler_ = nullptr;
};

} // namespace lobex::cli
