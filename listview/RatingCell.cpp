#include "listview/RatingCell.h"

#include "framework/Int32Math.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

bool RatingCell::cellClick(fw::Int32, fw::Int32, fw::Int32 x, fw::Int32) {
    // Zone k begins three pixels left of star k's glyph.
    fw::Int32 r = fw::WrapDiv(fw::WrapAdd(x, 10), 13);
    if (r > max) {
        r = max;
    }
    if (r <= 0) {
        r = 1;
    }
    rating = r;
    return true;
}

void RatingCell::Constructor(fw::Int32 rating_, fw::Int32 max_) {
    rating = rating_;
    max = max_;
}

fw::Int32 RatingCell::compareValue() {
    return rating;
}

void RatingCell::owner(CustomCellListbox&) {}

void RatingCell::cellPaint(fw::Graphics& g, fw::Int32 row) {
    if (Main::Instance()->AlternatingList1().ListIndex() == row) {
        g.SetForeColor(fw::RGB(0xFFFFFF));
    } else {
        g.SetForeColor(fw::RGB(0x888888));
    }
    const std::string font = g.TextFont();
    const fw::Int32 size = g.TextSize();
    g.SetTextFont("arial");
    g.SetTextSize(12);
    for (fw::Int32 i = 1; i <= max; ++i) {
        g.DrawString(i <= rating ? "\u2605" : "\u2606", fw::WrapSub(fw::WrapMul(13, i), 7),
                     g.Height() - 6);
    }
    g.SetTextSize(size);
    g.SetTextFont(font);
}

void RatingCell::setValue(fw::Int32 value) {
    rating = value;
}

fw::Int32 RatingCell::getValue() {
    return rating;
}
