#include "TShape.h"

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

void TShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(m_penColor);
    painter.setBrush(QBrush(m_brushColor, m_brushStyle));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
