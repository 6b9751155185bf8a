#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "framework/Int32Math.h"

namespace {

constexpr fw::Int32 kMax = std::numeric_limits<fw::Int32>::max();
constexpr fw::Int32 kMin = std::numeric_limits<fw::Int32>::min();

struct BinaryCase {
    const char* name;
    fw::Int32 a, b, expected;
};

void CheckAll(const std::vector<BinaryCase>& cases, fw::Int32 (*op)(fw::Int32, fw::Int32)) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + std::to_string(c.a) + ", " + std::to_string(c.b));
        EXPECT_EQ(op(c.a, c.b), c.expected);
    }
}

TEST(Int32MathTest, AddWrapsAsTwosComplement) {
    CheckAll(
        {
            {"plain", 1, 2, 3},
            {"mixed signs", -5, 3, -2},
            {"past the highest", kMax, 1, kMin},
            {"below the lowest", kMin, -1, kMax},
            {"highest twice", kMax, kMax, -2},
            {"lowest twice", kMin, kMin, 0},
            {"limits cancel", kMax, kMin, -1},
        },
        [](fw::Int32 a, fw::Int32 b) { return fw::WrapAdd(a, b); });
}

TEST(Int32MathTest, SubWrapsAsTwosComplement) {
    CheckAll(
        {
            {"plain", 5, 7, -2},
            {"below the lowest", kMin, 1, kMax},
            {"past the highest", kMax, -1, kMin},
            {"negating the lowest", 0, kMin, kMin},
            {"lowest less highest", kMin, kMax, 1},
        },
        [](fw::Int32 a, fw::Int32 b) { return fw::WrapSub(a, b); });
}

TEST(Int32MathTest, MulWrapsAsTwosComplement) {
    CheckAll(
        {
            {"plain", -3, 4, -12},
            {"highest doubled", kMax, 2, -2},
            {"lowest negated", kMin, -1, kMin},
            {"lowest doubled", kMin, 2, 0},
            {"two to the 32nd", 65536, 65536, 0},
            // 46341 squared is 2147488281, 4295 past the highest value.
            {"just past the highest", 46341, 46341, -2147479015},
            {"by zero", kMin, 0, 0},
        },
        [](fw::Int32 a, fw::Int32 b) { return fw::WrapMul(a, b); });
}

TEST(Int32MathTest, DivTruncatesTowardZeroAndNeverTraps) {
    CheckAll(
        {
            {"positive", 7, 2, 3},
            {"negative dividend", -7, 2, -3},
            {"negative divisor", 7, -2, -3},
            {"both negative", -7, -2, 3},
            {"exact", -8, 4, -2},
            {"smaller than divisor", 3, 7, 0},
            {"lowest by one", kMin, 1, kMin},
            {"highest by minus one", kMax, -1, -kMax},
            {"lowest by minus one wraps", kMin, -1, kMin},
            {"by zero", 5, 0, 0},
            {"lowest by zero", kMin, 0, 0},
            {"zero by zero", 0, 0, 0},
        },
        [](fw::Int32 a, fw::Int32 b) { return fw::WrapDiv(a, b); });
}

TEST(Int32MathTest, ToInt32TruncatesTowardZeroAndSaturates) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double value;
        fw::Int32 expected;
    };
    const std::vector<Case> cases = {
        {"positive fraction", 2.9, 2},
        {"negative fraction", -2.9, -2},
        {"below one half", 0.4, 0},
        {"above minus one half", -0.5, 0},
        {"negative zero", -0.0, 0},
        {"percentage", 37.0 / 120.0 * 100.0, 30},
        {"highest exactly", 2147483647.0, kMax},
        {"just below the highest", 2147483646.9, 2147483646},
        {"fraction above the highest", 2147483647.5, kMax},
        {"far above", 1e10, kMax},
        {"lowest exactly", -2147483648.0, kMin},
        {"just above the lowest", -2147483647.9, -2147483647},
        {"fraction below the lowest", -2147483648.9, kMin},
        {"far below", -1e300, kMin},
        {"plus infinity", inf, kMax},
        {"minus infinity", -inf, kMin},
        {"NaN", std::nan(""), 0},
        {"negative NaN", -std::nan(""), 0},
        {"smallest subnormal", std::numeric_limits<double>::denorm_min(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fw::ToInt32(c.value), c.expected);
    }
}

}  // namespace
