#pragma once

// Toolkit side of Picture; only framework sources include this.

#include <QImage>

#include "framework/Picture.h"

namespace fw {

QImage& ImageOf(Picture& picture);
const QImage& ImageOf(const Picture& picture);
// The picture with its mask applied as transparency, as a toolbar shows it.
QImage MaskedImage(const Picture& picture);

}  // namespace fw
