#pragma once

#include "listview/CustomListboxCell.h"

// The delete column: a round grey button with a white cross; a click on it removes its row
// through the main window, which keeps the row being converted.
class ButtonsCell : public CustomListboxCell {
public:
    bool cellClick(fw::Int32 row, fw::Int32 column, fw::Int32 x, fw::Int32 y) override;
    fw::Int32 compareValue() override;
    void owner(CustomCellListbox& list) override;
    void cellPaint(fw::Graphics& g, fw::Int32 row) override;
    void setValue(fw::Int32 value) override;
    fw::Int32 getValue() override;
};
