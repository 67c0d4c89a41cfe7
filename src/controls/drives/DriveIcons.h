// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>

#include <array>

// The drive selector's five pictures, 16 x 11 pixels in the 16 standard
// colours. The bottom-left pixel's colour stands for "transparent".
class DriveIcons
{
public:
    enum Kind { Floppy, Hard, Network, CdRom, Ram };
    static constexpr int KindCount = 5;

    // Draws the five pictures, in the order FLOPPY, HARD, NETWORK, CDROM, RAM.
    DriveIcons();

    // The picture as drawn, one palette index per pixel.
    static QImage picture(Kind kind);
    // The picture with its transparent colour left out, ready to draw over a background.
    const QPixmap &pixmap(Kind kind) const { return m_pixmaps.at(kind); }
    // That picture for a screen of that density: each of its pixels widened to
    // the device pixels it covers, so that it stays sharp where a painter would
    // smooth it. It keeps its size in the control's own pixels.
    static QPixmap atRatio(const QPixmap &icon, qreal ratio);

private:
    std::array<QPixmap, KindCount> m_pixmaps;
};
