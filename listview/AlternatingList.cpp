#include "listview/AlternatingList.h"

bool AlternatingList::Event_CellTextPaint(fw::Graphics& g, fw::Int32 row, fw::Int32, fw::Int32,
                                          fw::Int32) {
    if (Selected(row)) {
        g.SetBold(true);
        g.SetForeColor(kSelectedTextColor);
    } else {
        g.SetBold(false);
        g.SetForeColor(kTextColor);
    }
    return false;
}

bool AlternatingList::Event_CellBackgroundPaint(fw::Graphics& g, fw::Int32 row, fw::Int32 column) {
    if (alternateRows) {
        // The stripes follow the index, so they stay in alternation after sorting or dragging.
        if (row % 2 == 0 && !Selected(row)) {
            g.SetForeColor(alternateColor);
            g.FillRect(0, 0, g.Width(), g.Height());
        } else if (Selected(row)) {
            g.SetForeColor(kSelectionColor);
            g.FillRect(0, 0, g.Width(), g.Height());
        }
    }
    Event_cellBackgroundPaint(g, row, column);
    return true;
}

void AlternatingList::Event_cellBackgroundPaint(fw::Graphics&, fw::Int32, fw::Int32) {}
