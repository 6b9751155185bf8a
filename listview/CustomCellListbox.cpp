#include "listview/CustomCellListbox.h"

#include "framework/Int32Math.h"
#include "framework/Variant.h"

bool CustomCellListbox::Event_CellClick(fw::Int32 row, fw::Int32 column, fw::Int32 x, fw::Int32 y) {
    // Our own reference for the whole click: the cell's click may remove its row, and with it
    // the tag's reference (the delete button does).
    const auto cell =
        std::dynamic_pointer_cast<CustomListboxCell>(CellTagRef(row, column).SharedObject());
    if (!cell) {
        return false;
    }
    if (cell->cellClick(row, column, x, y)) {
        Event_CustomCellClick(*cell);
        InvalidateCell(row, column);
        return true;
    }
    return Event_CellClick(*cell);
}

void CustomCellListbox::Event_cellBackgroundPaint(fw::Graphics& g, fw::Int32 row,
                                                  fw::Int32 column) {
    if (row > ListCount() - 1) {
        return;
    }
    if (Selected(row)) {
        gradient(g);
    }
    // Held while it paints, in case painting drops the row.
    const fw::Variant keep = CellTag(row, column);
    if (auto* cell = fw::VariantAs<CustomListboxCell>(keep)) {
        cell->cellPaint(g, row);
    }
}

bool CustomCellListbox::Event_CompareRows(fw::Int32 row1, fw::Int32 row2, fw::Int32 column,
                                          fw::Int32& result) {
    auto* first = fw::VariantAs<CustomListboxCell>(CellTagRef(row1, column));
    auto* second = fw::VariantAs<CustomListboxCell>(CellTagRef(row2, column));
    if (first == nullptr || second == nullptr) {
        return false;
    }
    result = fw::WrapSub(first->compareValue(), second->compareValue());
    return true;
}

bool CustomCellListbox::RowSortKey(fw::Int32 row, fw::Int32 column, fw::Int32& key) {
    auto* cell = fw::VariantAs<CustomListboxCell>(CellTagRef(row, column));
    if (cell == nullptr) {
        return false;
    }
    key = cell->compareValue();
    return true;
}

void CustomCellListbox::customCell(fw::Int32 row, fw::Int32 column,
                                   std::shared_ptr<CustomListboxCell> cell) {
    SetCellTag(row, column, cell);
    if (!cell) {
        throw fw::NilObjectException("customCell was given a nil cell");
    }
    cell->owner(*this);
}

void CustomCellListbox::Event_CustomCellClick(CustomListboxCell&) {}

bool CustomCellListbox::Event_CellClick(CustomListboxCell&) {
    return false;
}

void CustomCellListbox::gradient(fw::Graphics&) {}
