// SPDX-License-Identifier: GPL-3.0-or-later
#include "TPaintBox.h"

#include <QPaintEvent>
#include <QPainter>

TPaintBox::TPaintBox(const QString &name, const QRect &bounds, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setGeometry(bounds);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TPaintBox::setPenColor(const QColor &color)
{
    m_penColor = color;
}

void TPaintBox::moveTo(QPoint point)
{
    m_pen = point;
}

void TPaintBox::lineTo(QPoint point)
{
    const QLine line(m_pen, point);
    m_segments.append(line);
    m_segmentColors.append(m_penColor.rgba());
    m_pen = point;
    update(area(line));
}

void TPaintBox::clear()
{
    m_segments.clear();
    m_segmentColors.clear();
    repaint();
}

QRect TPaintBox::area(const QLine &line) const
{
    // Clipped first: a point far off the surface must not overflow the margin added.
    return QRect(line.p1(), line.p2()).normalized().intersected(rect()).adjusted(-1, -1, 1, 1);
}

void TPaintBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // The pen, one of the control's pixels wide, is centred on the line. At one
    // device pixel per pixel the painter covers the pixels the line names; on a
    // denser screen it would straddle two of them, so the line moves by half a
    // pixel to cover its own.
    if (devicePixelRatioF() != 1)
        painter.translate(0.5, 0.5);
    // In the order drawn, each in its own pen, as on a bitmap kept between paints.
    for (qsizetype i = 0; i < m_segments.size(); ++i) {
        if (!area(m_segments.at(i)).intersects(event->rect()))
            continue;
        painter.setPen(QColor::fromRgba(m_segmentColors.at(i)));
        painter.drawLine(m_segments.at(i));
    }
}
