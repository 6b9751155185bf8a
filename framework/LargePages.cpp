#include "framework/LargePages.h"

#include <sys/mman.h>

#include <cstdlib>

namespace fw {

void* AllocateLarge(std::size_t bytes) {
    if (bytes < kLargePage) {
        return ::operator new(bytes);
    }
    // Whole large pages, so that the last one is not shared with whatever follows the block.
    const std::size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* block = std::aligned_alloc(kLargePage, rounded);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    // Only advice: a system without large pages refuses it, and the block works all the same.
    madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

void FreeLarge(void* block, std::size_t bytes) noexcept {
    if (bytes < kLargePage) {
        ::operator delete(block);
    } else {
        std::free(block);
    }
}

}  // namespace fw
