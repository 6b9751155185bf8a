#pragma once

// Toolkit side of Graphics; only framework sources include this.

#include <QFont>
#include <QImage>
#include <QPainter>

#include "framework/Graphics.h"

namespace fw {

// The toolkit font for a font name and a size. Sizes count pixels, as the program's layout does.
QFont FontFor(const std::string& family, Int32 size, bool bold);

// Draws with a painter whose origin is the top-left corner of what is drawn.
class QtGraphics : public Graphics {
public:
    QtGraphics(QPainter& painter, Int32 width, Int32 height);

    Int32 Width() const override { return width_; }
    Int32 Height() const override { return height_; }
    void FillRect(Int32 x, Int32 y, Int32 width, Int32 height) override;
    void DrawRect(Int32 x, Int32 y, Int32 width, Int32 height) override;
    void FillOval(Int32 x, Int32 y, Int32 width, Int32 height) override;
    void DrawOval(Int32 x, Int32 y, Int32 width, Int32 height) override;
    void DrawString(const std::string& text, Int32 x, Int32 y) override;
    void DrawPicture(const std::shared_ptr<Picture>& picture, Int32 x, Int32 y, Int32 destWidth,
                     Int32 destHeight, Int32 sourceX, Int32 sourceY, Int32 sourceWidth,
                     Int32 sourceHeight) override;

private:
    QPainter& painter_;
    Int32 width_, height_;
};

// Draws into a picture's image, a painter per call so the image is whole between calls.
class ImageGraphics : public Graphics {
public:
    explicit ImageGraphics(QImage& image) : image_(image) {}

    Int32 Width() const override { return image_.width(); }
    Int32 Height() const override { return image_.height(); }
    void FillRect(Int32 x, Int32 y, Int32 width, Int32 height) override;
    void DrawRect(Int32 x, Int32 y, Int32 width, Int32 height) override;
    void FillOval(Int32 x, Int32 y, Int32 width, Int32 height) override;
    void DrawOval(Int32 x, Int32 y, Int32 width, Int32 height) override;
    void DrawString(const std::string& text, Int32 x, Int32 y) override;
    void DrawPicture(const std::shared_ptr<Picture>& picture, Int32 x, Int32 y, Int32 destWidth,
                     Int32 destHeight, Int32 sourceX, Int32 sourceY, Int32 sourceWidth,
                     Int32 sourceHeight) override;

private:
    template <class F>
    void WithPainter(F&& draw);
    QImage& image_;
};

}  // namespace fw
