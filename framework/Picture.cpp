#include "framework/Picture.h"

#include <QImageReader>

#include "framework/PictureImage.h"
#include "framework/QtGraphics.h"

namespace fw {

struct Picture::Impl {
    QImage image;
    std::shared_ptr<Picture> mask;
    std::unique_ptr<QtGraphics> graphics;
};

struct PictureAccess {
    static Picture::Impl& Of(const Picture& p) { return *p.impl_; }
};

namespace {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

}  // namespace

Picture::Picture(Int32 width, Int32 height) : impl_(std::make_unique<Impl>()) {
    impl_->image = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32);
    impl_->image.fill(Qt::white);
}

Picture::~Picture() = default;

std::shared_ptr<Picture> Picture::Open(const std::string& path) {
    Log().push_back(path);
    QImageReader reader(QString::fromStdString(path));
    QImage image = reader.read();
    if (image.isNull()) {
        return nullptr;
    }
    auto picture = std::make_shared<Picture>(image.width(), image.height());
    PictureAccess::Of(*picture).image = image.convertToFormat(QImage::Format_ARGB32);
    return picture;
}

Int32 Picture::Width() const {
    return impl_->image.width();
}
Int32 Picture::Height() const {
    return impl_->image.height();
}

std::shared_ptr<Picture> Picture::Mask(bool create) {
    if (!impl_->mask && create) {
        impl_->mask = std::make_shared<Picture>(Width(), Height());
        PictureAccess::Of(*impl_->mask).image.fill(Qt::black);
    }
    return impl_->mask;
}

fw::Graphics& Picture::Graphics() {
    if (!impl_->graphics) {
        impl_->graphics = std::make_unique<QtGraphics>(impl_->image);
    }
    return *impl_->graphics;
}

const std::vector<std::string>& Picture::ReadLog() {
    return Log();
}

QImage& ImageOf(Picture& picture) {
    return PictureAccess::Of(picture).image;
}
const QImage& ImageOf(const Picture& picture) {
    return PictureAccess::Of(picture).image;
}

QImage MaskedImage(const Picture& picture) {
    const auto& impl = PictureAccess::Of(picture);
    QImage out = impl.image.convertToFormat(QImage::Format_ARGB32);
    if (!impl.mask) {
        return out;
    }
    const QImage mask = PictureAccess::Of(*impl.mask)
                            .image.scaled(out.size())
                            .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int alpha = qAlpha(dst[x]) * (255 - qGray(m[x])) / 255;
            dst[x] = qRgba(qRed(dst[x]), qGreen(dst[x]), qBlue(dst[x]), alpha);
        }
    }
    return out;
}

}  // namespace fw
