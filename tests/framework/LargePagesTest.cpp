#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/LargePages.h"

namespace {

// The system's setting for large pages: "always", "madvise" or "never", or "" where there is
// none.
std::string LargePageMode() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    std::getline(in, line);
    const auto open = line.find('[');
    const auto close = line.find(']');
    return open == std::string::npos || close == std::string::npos
               ? std::string()
               : line.substr(open + 1, close - open - 1);
}

// Whether the mapping that holds the address may be backed by large pages, from
// /proc/self/smaps; -1 when the address is in no mapping or the system does not say.
int LargePagesEligible(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        std::uintptr_t from = 0;
        std::uintptr_t to = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> from >> dash >> to && dash == '-') {
            inside = from <= at && at < to;
            continue;
        }
        if (inside && line.rfind("THPeligible:", 0) == 0) {
            return std::stoi(line.substr(12));
        }
    }
    return -1;
}

TEST(LargePagesTest, ALargeBlockLiesOnLargePagesWhereTheSystemHasThem) {
    fw::LargePageAllocator<std::uint64_t> allocator;
    const std::size_t count = 3 * fw::kLargePage / sizeof(std::uint64_t) + 5;
    std::uint64_t* block = allocator.allocate(count);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % fw::kLargePage, 0u);
    for (std::size_t i = 0; i < count; i += 512) {
        block[i] = i;
    }
    const std::string mode = LargePageMode();
    if (mode == "always" || mode == "madvise") {
        EXPECT_EQ(LargePagesEligible(block), 1) << "large pages: " << mode;
        EXPECT_EQ(LargePagesEligible(block + count - 1), 1) << "large pages: " << mode;
    }
    for (std::size_t i = 0; i < count; i += 512) {
        ASSERT_EQ(block[i], i);
    }
    allocator.deallocate(block, count);
}

TEST(LargePagesTest, ContainersOfAnySizeKeepTheirValues) {
    for (const std::size_t count :
         {std::size_t{0}, std::size_t{1}, std::size_t{1000}, fw::kLargePage / sizeof(int) + 1}) {
        std::vector<int, fw::LargePageAllocator<int>> values;
        for (std::size_t i = 0; i < count; ++i) {
            values.push_back(static_cast<int>(i * 7));
        }
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(values[i], static_cast<int>(i * 7)) << count;
        }
    }
    EXPECT_THROW(fw::LargePageAllocator<std::uint64_t>().allocate(SIZE_MAX / 4),
                 std::bad_array_new_length);
}

}  // namespace
