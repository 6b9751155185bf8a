#pragma once

#include <cstddef>
#include <limits>
#include <new>

namespace fw {

// Memory for the few arrays that grow with a list or a folder: the rows of a list, a folder's
// names. A block of 2 MiB or more is aligned to the system's large pages and advised for them,
// so that filling it costs one page fault per 2 MiB instead of one per 4 KiB: at 100,000 rows the
// faults, not the copying, were most of the time. Where the system gives no large pages, such a
// block is plain memory.
inline constexpr std::size_t kLargePage = std::size_t{2} << 20;

void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* block, std::size_t bytes) noexcept;

template <class T>
struct LargePageAllocator {
    using value_type = T;

    LargePageAllocator() = default;
    template <class U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(AllocateLarge(n * sizeof(T)));
    }
    void deallocate(T* block, std::size_t n) noexcept { FreeLarge(block, n * sizeof(T)); }

    template <class U>
    bool operator==(const LargePageAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace fw
