#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "framework/Core.h"

namespace fw {

// Int32 arithmetic as the program computes it: two's complement that wraps, never undefined.
constexpr Int32 WrapAdd(Int32 a, Int32 b) {
    return static_cast<Int32>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr Int32 WrapSub(Int32 a, Int32 b) {
    return static_cast<Int32>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr Int32 WrapMul(Int32 a, Int32 b) {
    return static_cast<Int32>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Integer division truncated toward zero. The one quotient C++ leaves undefined, the lowest value
// divided by -1, wraps back to the lowest value; a zero divisor gives 0 rather than a trap.
constexpr Int32 WrapDiv(Int32 a, Int32 b) {
    if (b == 0) {
        return 0;
    }
    if (b == -1) {
        return WrapSub(0, a);
    }
    return a / b;
}

// A floating-point value as an Int32: truncated toward zero, saturated at the limits, NaN is 0.
inline Int32 ToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<Int32>::max())) {
        return std::numeric_limits<Int32>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<Int32>::min())) {
        return std::numeric_limits<Int32>::min();
    }
    return static_cast<Int32>(value);
}

}  // namespace fw
