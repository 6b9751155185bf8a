#include "listview/ButtonsCell.h"

#include "framework/Int32Math.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

bool ButtonsCell::cellClick(fw::Int32 row, fw::Int32, fw::Int32 x, fw::Int32) {
    if (fw::WrapDiv(x, 13) != 1) {
        return false;
    }
    const auto window = Main::Instance();
    window->AlternatingList1().SetListIndex(row);
    // This may remove the row and with it the tag that holds this cell; the list's click
    // handler holds its own reference until we return.
    window->Remove();
    return true;
}

fw::Int32 ButtonsCell::compareValue() {
    return 0;
}

void ButtonsCell::owner(CustomCellListbox&) {}

void ButtonsCell::cellPaint(fw::Graphics& g, fw::Int32) {
    g.SetForeColor(fw::RGB(0xBBBBBB));
    g.FillOval(12, 3, 12, 12);
    g.SetForeColor(fw::RGB(0x888888));
    g.DrawOval(12, 3, 12, 12);
    g.SetForeColor(fw::RGB(0xFFFFFF));
    g.SetTextSize(9);
    g.SetTextFont("arial");
    g.SetBold(true);
    g.DrawString("X", 15, 12);
}

// Nothing sets or reads a delete button's value; it has none.
void ButtonsCell::setValue(fw::Int32) {}

fw::Int32 ButtonsCell::getValue() {
    return 0;
}
