#pragma once

#include <memory>
#include <string>

#include "framework/Core.h"

namespace fw {

class Picture;

// A drawing surface with a current colour, weight, font and size. Coordinates are relative to
// what is drawn: a list cell or a picture.
class Graphics {
public:
    // A width or height that stands for the drawn picture's own.
    static constexpr Int32 kNaturalSize = -10000;

    virtual ~Graphics() = default;

    Color ForeColor() const { return foreColor_; }
    void SetForeColor(Color color) { foreColor_ = color; }
    bool Bold() const { return bold_; }
    void SetBold(bool bold) { bold_ = bold; }
    const std::string& TextFont() const { return textFont_; }
    void SetTextFont(const std::string& font) { textFont_ = font; }
    Int32 TextSize() const { return textSize_; }
    void SetTextSize(Int32 size) { textSize_ = size; }

    virtual Int32 Width() const = 0;
    virtual Int32 Height() const = 0;
    virtual void FillRect(Int32 x, Int32 y, Int32 width, Int32 height) = 0;
    virtual void DrawRect(Int32 x, Int32 y, Int32 width, Int32 height) = 0;
    virtual void FillOval(Int32 x, Int32 y, Int32 width, Int32 height) = 0;
    virtual void DrawOval(Int32 x, Int32 y, Int32 width, Int32 height) = 0;
    // Text at x with its baseline at y.
    virtual void DrawString(const std::string& text, Int32 x, Int32 y) = 0;
    virtual void DrawPicture(const std::shared_ptr<Picture>& picture, Int32 x, Int32 y,
                             Int32 destWidth = kNaturalSize, Int32 destHeight = kNaturalSize,
                             Int32 sourceX = 0, Int32 sourceY = 0, Int32 sourceWidth = kNaturalSize,
                             Int32 sourceHeight = kNaturalSize) = 0;

protected:
    Graphics() = default;

private:
    Color foreColor_{};
    bool bold_ = false;
    std::string textFont_ = "System";
    Int32 textSize_ = 12;
};

}  // namespace fw
