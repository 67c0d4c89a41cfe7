// SPDX-License-Identifier: GPL-3.0-or-later
#include "WholeFrame.h"

#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>

void paintWholeFrame(QFrame &frame, const QStyleOptionFrame &option)
{
    const qreal ratio = frame.devicePixelRatioF();
    if (ratio == std::floor(ratio))
        return;
    QImage drawn(frame.size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        frame.style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, &frame);
    }
    QPainter painter(&frame);
    painter.drawImage(frame.rect(), drawn);
}
