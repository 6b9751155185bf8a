#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics.h"

// A Graphics that draws nothing and logs every call with the colour, weight, font and size in
// force, so that tests can read exactly what a cell drew.
class RecordingGraphics : public fw::Graphics {
public:
    struct Call {
        std::string op;  // FillRect, DrawRect, FillOval, DrawOval, DrawString, DrawPicture
        fw::Int32 x = 0, y = 0, width = 0, height = 0;
        std::string text;
        fw::Color color;
        bool bold = false;
        std::string font;
        fw::Int32 size = 0;
    };

    RecordingGraphics(fw::Int32 width, fw::Int32 height) : width_(width), height_(height) {}

    fw::Int32 Width() const override { return width_; }
    fw::Int32 Height() const override { return height_; }
    void FillRect(fw::Int32 x, fw::Int32 y, fw::Int32 w, fw::Int32 h) override {
        Log("FillRect", x, y, w, h);
    }
    void DrawRect(fw::Int32 x, fw::Int32 y, fw::Int32 w, fw::Int32 h) override {
        Log("DrawRect", x, y, w, h);
    }
    void FillOval(fw::Int32 x, fw::Int32 y, fw::Int32 w, fw::Int32 h) override {
        Log("FillOval", x, y, w, h);
    }
    void DrawOval(fw::Int32 x, fw::Int32 y, fw::Int32 w, fw::Int32 h) override {
        Log("DrawOval", x, y, w, h);
    }
    void DrawString(const std::string& text, fw::Int32 x, fw::Int32 y) override {
        Log("DrawString", x, y, 0, 0, text);
    }
    void DrawPicture(const std::shared_ptr<fw::Picture>&, fw::Int32 x, fw::Int32 y, fw::Int32 dw,
                     fw::Int32 dh, fw::Int32, fw::Int32, fw::Int32, fw::Int32) override {
        Log("DrawPicture", x, y, dw, dh);
    }

    std::vector<Call> calls;

private:
    void Log(const char* op, fw::Int32 x, fw::Int32 y, fw::Int32 w, fw::Int32 h,
             std::string text = {}) {
        calls.push_back(
            {op, x, y, w, h, std::move(text), ForeColor(), Bold(), TextFont(), TextSize()});
    }
    fw::Int32 width_, height_;
};
