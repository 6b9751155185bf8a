#pragma once

#include "listview/CustomListboxCell.h"

// The progress column: a light-blue bar for `value` of `max` inside a grey frame; clicks are
// left to the list.
class ProgressCell : public CustomListboxCell {
public:
    ProgressCell(fw::Int32 value, fw::Int32 max) { Constructor(value, max); }

    bool cellClick(fw::Int32 row, fw::Int32 column, fw::Int32 x, fw::Int32 y) override;
    fw::Int32 compareValue() override;
    void owner(CustomCellListbox& list) override;
    void Constructor(fw::Int32 value, fw::Int32 max);
    void cellPaint(fw::Graphics& g, fw::Int32 row) override;
    void setValue(fw::Int32 value) override;
    fw::Int32 getValue() override;

    fw::Int32 value = 0;

protected:
    fw::Int32 max = 0;
};
