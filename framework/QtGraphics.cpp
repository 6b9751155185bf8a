#include "framework/QtGraphics.h"

#include <QFontDatabase>
#include <QFontInfo>

#include "framework/Picture.h"
#include "framework/PictureImage.h"

namespace fw {

QString SystemFamilyFor(const QString& desktopFamily) {
    if (QFontDatabase::writingSystems(desktopFamily).contains(QFontDatabase::Korean)) {
        return desktopFamily;
    }
    for (const char* face : {"NanumGothic", "Noto Sans CJK KR", "Noto Sans KR"}) {
        if (QFontDatabase::hasFamily(face)) {
            return face;
        }
    }
    return desktopFamily;
}

const QString& SystemFamily() {
    static const QString family =
        SystemFamilyFor(QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family());
    return family;
}

QFont FontFor(const std::string& family, Int32 size, bool bold) {
    QFont font;
    // Any name but "System" is left to fontconfig's matching.
    if (family == "System") {
        font.setFamily(SystemFamily());
    } else if (!family.empty()) {
        font.setFamily(QString::fromStdString(family));
    }
    font.setPixelSize(std::max(size, 1));
    font.setBold(bold);
    return font;
}

namespace {

QColor Q(Color c) {
    return QColor(c.Red(), c.Green(), c.Blue());
}

// The drawing operations, shared by the two kinds of surface.
void Fill(QPainter& p, const Graphics& g, Int32 x, Int32 y, Int32 w, Int32 h) {
    if (w > 0 && h > 0) {
        p.fillRect(x, y, w, h, Q(g.ForeColor()));
    }
}

void Frame(QPainter& p, const Graphics& g, Int32 x, Int32 y, Int32 w, Int32 h) {
    if (w <= 0 || h <= 0) {
        return;
    }
    // The outline covers the rectangle's outermost pixels: x to x + w - 1.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Q(g.ForeColor()), 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(x, y, w - 1, h - 1);
    p.restore();
}

void Oval(QPainter& p, const Graphics& g, Int32 x, Int32 y, Int32 w, Int32 h, bool fill) {
    if (w <= 0 || h <= 0) {
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (fill) {
        p.setPen(Qt::NoPen);
        p.setBrush(Q(g.ForeColor()));
        p.drawEllipse(QRectF(x, y, w, h));
    } else {
        p.setPen(QPen(Q(g.ForeColor()), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(x + 0.5, y + 0.5, w - 1.0, h - 1.0));
    }
    p.restore();
}

void Text(QPainter& p, const Graphics& g, const std::string& text, Int32 x, Int32 y) {
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(FontFor(g.TextFont(), g.TextSize(), g.Bold()));
    p.setPen(Q(g.ForeColor()));
    p.drawText(QPointF(x, y), QString::fromStdString(text));
    p.restore();
}

void DrawImage(QPainter& p, const std::shared_ptr<fw::Picture>& picture, Int32 x, Int32 y, Int32 dw,
               Int32 dh, Int32 sx, Int32 sy, Int32 sw, Int32 sh) {
    if (!picture) {
        throw NilObjectException("DrawPicture of a nil picture");
    }
    const QImage& image = ImageOf(*picture);
    const Int32 natural = Graphics::kNaturalSize;
    if (sw == natural) {
        sw = image.width();
    }
    if (sh == natural) {
        sh = image.height();
    }
    if (dw == natural) {
        dw = sw;
    }
    if (dh == natural) {
        dh = sh;
    }
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(QRect(x, y, dw, dh), image, QRect(sx, sy, sw, sh));
    p.restore();
}

}  // namespace

QtGraphics::QtGraphics(QPainter& painter, Int32 width, Int32 height)
    : painter_(&painter), width_(width), height_(height) {}

QtGraphics::QtGraphics(QImage& image)
    : image_(&image), width_(image.width()), height_(image.height()) {}

template <class F>
void QtGraphics::Paint(F&& draw) {
    if (painter_ != nullptr) {
        draw(*painter_);
        return;
    }
    QPainter painter(image_);
    draw(painter);
}

void QtGraphics::FillRect(Int32 x, Int32 y, Int32 w, Int32 h) {
    Paint([&](QPainter& p) { Fill(p, *this, x, y, w, h); });
}
void QtGraphics::DrawRect(Int32 x, Int32 y, Int32 w, Int32 h) {
    Paint([&](QPainter& p) { Frame(p, *this, x, y, w, h); });
}
void QtGraphics::FillOval(Int32 x, Int32 y, Int32 w, Int32 h) {
    Paint([&](QPainter& p) { Oval(p, *this, x, y, w, h, true); });
}
void QtGraphics::DrawOval(Int32 x, Int32 y, Int32 w, Int32 h) {
    Paint([&](QPainter& p) { Oval(p, *this, x, y, w, h, false); });
}
void QtGraphics::DrawString(const std::string& text, Int32 x, Int32 y) {
    Paint([&](QPainter& p) { Text(p, *this, text, x, y); });
}
void QtGraphics::DrawPicture(const std::shared_ptr<fw::Picture>& picture, Int32 x, Int32 y,
                             Int32 dw, Int32 dh, Int32 sx, Int32 sy, Int32 sw, Int32 sh) {
    Paint([&](QPainter& p) { DrawImage(p, picture, x, y, dw, dh, sx, sy, sw, sh); });
}

}  // namespace fw
