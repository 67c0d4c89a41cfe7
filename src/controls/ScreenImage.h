// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QtMath>

namespace ScreenImage {

// The pixels that cover a control of that size on a screen of that density;
// a fractional density rounds up, so nothing is cut.
inline QSize pixelSize(QSize size, qreal ratio)
{
    return {qCeil(size.width() * ratio), qCeil(size.height() * ratio)};
}

// An image that covers a control of that size pixel for pixel: drawn on in the
// control's own coordinates, shown without stretching.
inline QImage blank(QSize size, qreal ratio, QImage::Format format)
{
    QImage image(pixelSize(size, ratio), format);
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace ScreenImage
