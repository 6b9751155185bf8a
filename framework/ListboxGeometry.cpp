#include "framework/ListboxGeometry.h"

#include <algorithm>

namespace fw {

namespace {

// Floor division, so that a point above the content's top counts as row -1, not 0.
Int32 FloorDiv(Int32 a, Int32 b) {
    const Int32 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

RowRange VisibleRows(Int32 scrollY, Int32 viewportHeight, Int32 rowHeight) {
    if (rowHeight <= 0 || viewportHeight <= 0) {
        return {};
    }
    const Int32 first = std::max(FloorDiv(scrollY, rowHeight), 0);
    const Int32 last = FloorDiv(scrollY + viewportHeight - 1, rowHeight);
    return {first, last};
}

CellHit HitTest(Int32 viewportX, Int32 viewportY, Int32 scrollY, Int32 rowHeight,
                const std::vector<Int32>& columnLefts, const std::vector<Int32>& columnWidths) {
    CellHit hit;
    if (rowHeight <= 0) {
        return hit;
    }
    const Int32 contentY = viewportY + scrollY;
    hit.row = FloorDiv(contentY, rowHeight);
    hit.y = contentY - hit.row * rowHeight;
    for (std::size_t c = 0; c < columnLefts.size() && c < columnWidths.size(); ++c) {
        if (columnWidths[c] > 0 && viewportX >= columnLefts[c] &&
            viewportX < columnLefts[c] + columnWidths[c]) {
            hit.column = static_cast<Int32>(c);
            hit.x = viewportX - columnLefts[c];
            break;
        }
    }
    return hit;
}

Int32 DropIndexAt(Int32 viewportY, Int32 scrollY, Int32 rowHeight, Int32 rowCount) {
    if (rowHeight <= 0) {
        return rowCount;
    }
    const Int32 contentY = viewportY + scrollY;
    const Int32 index = FloorDiv(contentY + rowHeight / 2, rowHeight);
    return std::clamp(index, 0, rowCount);
}

}  // namespace fw
