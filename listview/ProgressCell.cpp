#include "listview/ProgressCell.h"

#include "framework/Int32Math.h"

bool ProgressCell::cellClick(fw::Int32, fw::Int32, fw::Int32, fw::Int32) {
    return false;
}

fw::Int32 ProgressCell::compareValue() {
    return value;
}

void ProgressCell::owner(CustomCellListbox&) {}

void ProgressCell::Constructor(fw::Int32 value_, fw::Int32 max_) {
    value = value_;
    max = max_;
}

void ProgressCell::cellPaint(fw::Graphics& g, fw::Int32) {
    // A max of 0 divides by zero: infinity saturates to a full bar and NaN (0 of 0) to none.
    fw::Int32 percent =
        fw::ToInt32(static_cast<double>(fw::WrapMul(value, 100)) / static_cast<double>(max));
    if (percent > 100) {
        percent = 100;
    }
    const fw::Int32 w = fw::WrapSub(g.Width(), 9);
    const fw::Int32 bar = fw::ToInt32(static_cast<double>(fw::WrapMul(percent, w)) / 100.0);
    g.SetForeColor(fw::RGB(0x99CCFF));
    g.FillRect(3, 3, bar, fw::WrapSub(g.Height(), 6));
    g.SetForeColor(fw::RGB(0x888888));
    g.DrawRect(3, 3, w, fw::WrapSub(g.Height(), 6));
}

void ProgressCell::setValue(fw::Int32 value_) {
    value = value_;
}

// Nothing reads a progress cell's value back; the value is the natural answer.
fw::Int32 ProgressCell::getValue() {
    return value;
}
