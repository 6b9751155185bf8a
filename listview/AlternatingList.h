#pragma once

#include "framework/Graphics.h"
#include "framework/Listbox.h"

// A list that paints its own cell backgrounds: even rows striped, selected rows filled blue
// with bold white text, whether or not the list has the focus.
class AlternatingList : public fw::Listbox {
public:
    static constexpr fw::Color kSelectionColor = fw::RGB(0x3D80DF);
    static constexpr fw::Color kSelectedTextColor = fw::RGB(0xFFFFFF);
    static constexpr fw::Color kTextColor = fw::RGB(0x000000);

    bool Event_CellTextPaint(fw::Graphics& g, fw::Int32 row, fw::Int32 column, fw::Int32 x,
                             fw::Int32 y) override;
    bool Event_CellBackgroundPaint(fw::Graphics& g, fw::Int32 row, fw::Int32 column) override;

    // The event raised after the fill of every cell, with the same graphics context.
    virtual void Event_cellBackgroundPaint(fw::Graphics& g, fw::Int32 row, fw::Int32 column);

protected:
    bool alternateRows = true;
    fw::Color alternateColor = fw::RGB(0xF1F5FA);
};
