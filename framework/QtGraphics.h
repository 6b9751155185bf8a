#pragma once

// Toolkit side of Graphics; only framework sources include this.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include "framework/Graphics.h"

namespace fw {

// The toolkit font for a font name and a size. Sizes count pixels, as the program's layout does.
QFont FontFor(const std::string& family, Int32 size, bool bold);

// The family that "System" names on a desktop whose own font is `desktopFamily`: that font where
// it has Korean letters, else the first Korean interface face installed. The program's texts are
// Korean, and a Korean desktop draws its interface in such a face; a Latin face would leave its
// Hangul to whatever fallback fontconfig finds, and draws the English texts wider.
QString SystemFamilyFor(const QString& desktopFamily);
// "System" on this desktop, resolved once the toolkit's application exists.
const QString& SystemFamily();

// Draws with a painter whose origin is the top-left corner of what is drawn, or into a picture's
// image with a painter per call, so that the image is whole between calls.
class QtGraphics : public Graphics {
public:
    QtGraphics(QPainter& painter, Int32 width, Int32 height);
    explicit QtGraphics(QImage& image);

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
    template <class F>
    void Paint(F&& draw);

    QPainter* painter_ = nullptr;
    QImage* image_ = nullptr;
    Int32 width_, height_;
};

}  // namespace fw
