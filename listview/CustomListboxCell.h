#pragma once

#include "framework/Core.h"
#include "framework/Graphics.h"

class CustomCellListbox;

// An object that one list cell holds in its tag: it paints the cell, takes the clicks on it,
// gives it a sort key and carries one value.
class CustomListboxCell : public fw::Object {
public:
    // A click at x, y relative to the cell's top-left corner; True when the click is consumed.
    virtual bool cellClick(fw::Int32 row, fw::Int32 column, fw::Int32 x, fw::Int32 y) = 0;
    // Draws over the background that has just been painted.
    virtual void cellPaint(fw::Graphics& g, fw::Int32 row) = 0;
    virtual fw::Int32 compareValue() = 0;
    // Tells the cell which list holds it; no cell keeps it, which would make the list and its
    // cells hold each other.
    virtual void owner(CustomCellListbox& list) = 0;
    virtual void setValue(fw::Int32 value) = 0;
    virtual fw::Int32 getValue() = 0;
};
