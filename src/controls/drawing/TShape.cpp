// SPDX-License-Identifier: GPL-3.0-or-later
#include "TShape.h"

#include <QPaintEvent>
#include <QPainter>

TShape::TShape(const QString &name, const QRect &bounds, const QColor &brushColor, Qt::BrushStyle brushStyle,
               QWidget *parent)
    : QWidget(parent)
    , m_brushColor(brushColor)
    , m_brushStyle(brushStyle)
{
    setObjectName(name);
    setGeometry(bounds);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // A solid shape covers every pixel of its rectangle, so what lies beneath
    // need not be painted first: the memory graph repaints five times a second.
    setAttribute(Qt::WA_OpaquePaintEvent, brushStyle == Qt::SolidPattern && brushColor.alpha() == 255);
}

// Drawn once and then copied: a hatch fill is costly to rasterise, and the
// graph above the shapes repaints a small part of them five times a second.
void TShape::render()
{
    m_rendered = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_rendered.fill(Qt::transparent);
    QPainter painter(&m_rendered);
    painter.setPen(m_penColor);
    painter.setBrush(QBrush(m_brushColor, m_brushStyle));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TShape::paintEvent(QPaintEvent *event)
{
    if (m_rendered.size() != size())
        render();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_rendered, event->rect());
}
