#pragma once

#include "listview/CustomListboxCell.h"

// The quality column: `max` stars, filled up to the rating; a click sets the rating from where
// it lands. The stars are white on the row that is the main list's ListIndex, grey elsewhere.
class RatingCell : public CustomListboxCell {
public:
    RatingCell(fw::Int32 rating, fw::Int32 max) { Constructor(rating, max); }

    bool cellClick(fw::Int32 row, fw::Int32 column, fw::Int32 x, fw::Int32 y) override;
    void Constructor(fw::Int32 rating, fw::Int32 max);
    fw::Int32 compareValue() override;
    void owner(CustomCellListbox& list) override;
    void cellPaint(fw::Graphics& g, fw::Int32 row) override;
    void setValue(fw::Int32 value) override;
    fw::Int32 getValue() override;

protected:
    fw::Int32 rating = 0;
    fw::Int32 max = 0;
};
