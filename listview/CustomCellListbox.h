#pragma once

#include <memory>

#include "listview/AlternatingList.h"
#include "listview/CustomListboxCell.h"

// A list in which any cell may hold a cell object in its tag; painting, clicks and the order
// of rows on such a cell's column are handed to the object.
class CustomCellListbox : public AlternatingList {
public:
    using AlternatingList::Event_CellClick;

    bool Event_CellClick(fw::Int32 row, fw::Int32 column, fw::Int32 x, fw::Int32 y) override;
    void Event_cellBackgroundPaint(fw::Graphics& g, fw::Int32 row, fw::Int32 column) override;
    bool Event_CompareRows(fw::Int32 row1, fw::Int32 row2, fw::Int32 column,
                           fw::Int32& result) final;
    // The rows' sort keys: the compare values by which Event_CompareRows orders two rows.
    bool SortsByRowKeys() const override { return true; }
    bool RowSortKey(fw::Int32 row, fw::Int32 column, fw::Int32& key) override;

    // Attaches a cell object: the tag takes it, then the cell learns its list. A nil cell
    // empties the tag and raises NilObjectException.
    void customCell(fw::Int32 row, fw::Int32 column, std::shared_ptr<CustomListboxCell> cell);

    // Raised after a cell object consumed a click, before the cell is repainted.
    virtual void Event_CustomCellClick(CustomListboxCell& cell);
    // Raised after a cell object declined a click; its result is the click's.
    virtual bool Event_CellClick(CustomListboxCell& cell);

protected:
    // Drawing hook for the cells of selected rows, between the fill and the cell object.
    virtual void gradient(fw::Graphics& g);
};
