// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QtMath>

namespace ScreenImage {

// The pixels that cover a control of that size on a screen of that density;
// a fractional density rounds up, so nothing is cut.
inline QSize pixelSize(QSize size, qreal ratio)
{
    return {qCeil(size.width() * ratio), qCeil(size.height() * ratio)};
}

} // namespace ScreenImage
