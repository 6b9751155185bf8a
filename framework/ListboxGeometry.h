#pragma once

#include <vector>

#include "framework/Core.h"

namespace fw {

// The list's geometry. Content coordinates put row r at y = r * rowHeight; viewport
// coordinates are content coordinates less the scroll offset. Columns are given by their left
// edges and widths, in viewport coordinates.

struct RowRange {
    Int32 first = 0;
    Int32 last = -1;  // inclusive; may lie past the last row, in the empty part of the view
};

// The rows that meet the viewport.
RowRange VisibleRows(Int32 scrollY, Int32 viewportHeight, Int32 rowHeight);

struct CellHit {
    Int32 row = -1;     // may be ListCount or more: below the last row
    Int32 column = -1;  // -1 outside every column
    Int32 x = 0;        // relative to the cell's top-left corner
    Int32 y = 0;
};

CellHit HitTest(Int32 viewportX, Int32 viewportY, Int32 scrollY, Int32 rowHeight,
                const std::vector<Int32>& columnLefts, const std::vector<Int32>& columnWidths);

// Where dragged rows go: before the row whose upper half (or the lower half of the row above)
// holds y; ListCount below the last row.
Int32 DropIndexAt(Int32 viewportY, Int32 scrollY, Int32 rowHeight, Int32 rowCount);

}  // namespace fw
