#include "TPaintBox.h"

#include <QPaintEvent>
#include <QPainter>

TPaintBox::TPaintBox(const QString &name, const QRect &bounds, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setGeometry(bounds);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The surface exists from the start: the graph is drawn even while its page is hidden.
    m_surface = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    m_surface.fill(Qt::transparent);
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
    {
        QPainter painter(&m_surface);
        painter.setPen(m_penColor);
        painter.drawLine(line);
    }
    m_segments.append(line);
    m_pen = point;
    // Clipped first: a point far off the surface must not overflow the margin added.
    update(QRect(line.p1(), line.p2()).normalized().intersected(rect()).adjusted(-1, -1, 1, 1));
}

void TPaintBox::clear()
{
    m_surface.fill(Qt::transparent);
    m_segments.clear();
    repaint();
}

void TPaintBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_surface, event->rect());
}

void TPaintBox::resizeEvent(QResizeEvent *)
{
    if (m_surface.size() == size())
        return;
    m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_surface.fill(Qt::transparent);
}
