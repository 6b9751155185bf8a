#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ListboxGeometry.h"

namespace {

TEST(ListboxGeometryTest, VisibleRowsAreThoseThatMeetTheViewport) {
    struct Case {
        const char* name;
        fw::Int32 scrollY, viewportHeight, rowHeight;
        fw::Int32 first, last;
    };
    const std::vector<Case> cases = {
        {"top, partial last row", 0, 100, 18, 0, 5},
        {"exactly two rows", 18, 36, 18, 1, 2},
        {"scrolled into a row", 10, 36, 18, 0, 2},
        {"one pixel of the next row", 0, 19, 18, 0, 1},
        {"one pixel high", 35, 1, 18, 1, 1},
        {"deep in a long list", 18 * 99999, 180, 18, 99999, 100008},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fw::RowRange range = fw::VisibleRows(c.scrollY, c.viewportHeight, c.rowHeight);
        EXPECT_EQ(range.first, c.first);
        EXPECT_EQ(range.last, c.last);
    }
}

TEST(ListboxGeometryTest, NoRowsAreVisibleWithoutHeight) {
    for (const auto& [viewport, row] :
         std::vector<std::pair<fw::Int32, fw::Int32>>{{0, 18}, {-5, 18}, {100, 0}, {100, -3}}) {
        SCOPED_TRACE(std::to_string(viewport) + " / " + std::to_string(row));
        const fw::RowRange range = fw::VisibleRows(0, viewport, row);
        EXPECT_LT(range.last, range.first);
    }
}

TEST(ListboxGeometryTest, HitTestGivesTheCellAndThePointInIt) {
    // Column 1 is hidden: zero wide, at the same place as column 2.
    const std::vector<fw::Int32> lefts = {0, 100, 100, 150};
    const std::vector<fw::Int32> widths = {100, 0, 50, 80};
    struct Case {
        const char* name;
        fw::Int32 x, y, scrollY;
        fw::CellHit expected;
    };
    const std::vector<Case> cases = {
        {"top-left corner", 0, 0, 0, {0, 0, 0, 0}},
        {"inside the first cell", 5, 7, 0, {0, 0, 5, 7}},
        {"last pixel of a row", 99, 17, 0, {0, 0, 99, 17}},
        {"first pixel of the next row", 99, 18, 0, {1, 0, 99, 0}},
        {"hidden column is skipped", 100, 40, 0, {2, 2, 0, 4}},
        {"last column", 229, 5, 0, {0, 3, 79, 5}},
        {"scrolled", 160, 0, 30, {1, 3, 10, 12}},
        {"far below the rows", 10, 1000, 0, {55, 0, 10, 10}},
        {"above the content", 10, -1, 0, {-1, 0, 10, 17}},
        {"right of every column", 230, 5, 0, {0, -1, 0, 5}},
        {"left of every column", -1, 5, 0, {0, -1, 0, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fw::CellHit hit = fw::HitTest(c.x, c.y, c.scrollY, 18, lefts, widths);
        EXPECT_EQ(hit.row, c.expected.row);
        EXPECT_EQ(hit.column, c.expected.column);
        EXPECT_EQ(hit.x, c.expected.x);
        EXPECT_EQ(hit.y, c.expected.y);
    }
}

TEST(ListboxGeometryTest, ZeroWidthColumnIsNeverHit) {
    const std::vector<fw::Int32> lefts = {0, 50, 50};
    const std::vector<fw::Int32> widths = {50, 0, 50};
    for (fw::Int32 x = -10; x < 120; ++x) {
        EXPECT_NE(fw::HitTest(x, 3, 0, 18, lefts, widths).column, 1) << "x = " << x;
    }
}

TEST(ListboxGeometryTest, DropIndexIsTheRowWhoseUpperHalfHoldsThePoint) {
    struct Case {
        const char* name;
        fw::Int32 y, scrollY, rowHeight, rowCount;
        fw::Int32 index;
    };
    const std::vector<Case> cases = {
        {"top of row 0", 0, 0, 18, 3, 0},
        {"end of the upper half of row 0", 8, 0, 18, 3, 0},
        {"lower half of row 0", 9, 0, 18, 3, 1},
        {"upper half of row 1", 26, 0, 18, 3, 1},
        {"lower half of row 1", 27, 0, 18, 3, 2},
        {"lower half of the last row", 53, 0, 18, 3, 3},
        {"below the last row", 500, 0, 18, 3, 3},
        {"above the content", -20, 0, 18, 3, 0},
        {"scrolled by a row", 0, 18, 18, 3, 1},
        {"odd row height, before the middle", 8, 0, 17, 3, 0},
        {"odd row height, after the middle", 9, 0, 17, 3, 1},
        {"empty list", 40, 0, 18, 0, 0},
        {"no row height", 40, 0, 0, 5, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fw::DropIndexAt(c.y, c.scrollY, c.rowHeight, c.rowCount), c.index);
    }
}

}  // namespace
