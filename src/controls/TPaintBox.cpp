#include "TPaintBox.h"

#include "ScreenImage.h"

#include <QPaintEvent>
#include <QPainter>

TPaintBox::TPaintBox(const QString &name, const QRect &bounds, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setGeometry(bounds);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The surface exists from the start: the graph is drawn even while its page is hidden.
    m_surface = blankSurface();
}

// At the screen's density, so that lines are drawn with its pixels, not stretched.
QImage TPaintBox::blankSurface() const
{
    QImage surface = ScreenImage::blank(size(), devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::transparent);
    return surface;
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
    drawSegment(line);
    m_segments.append(line);
    m_pen = point;
    // Clipped first: a point far off the surface must not overflow the margin added.
    update(QRect(line.p1(), line.p2()).normalized().intersected(rect()).adjusted(-1, -1, 1, 1));
}

void TPaintBox::drawSegment(const QLine &line)
{
    QPainter painter(&m_surface);
    // The pen, one of the control's pixels wide, is centred on the line. At one
    // device pixel per pixel the painter covers the pixels the line names; on a
    // denser screen it would straddle two of them, so the line moves by half a
    // pixel to cover its own.
    if (m_surface.devicePixelRatio() != 1)
        painter.translate(0.5, 0.5);
    painter.setPen(m_penColor);
    painter.drawLine(line);
}

void TPaintBox::clear()
{
    m_surface.fill(Qt::transparent);
    m_segments.clear();
    repaint();
}

bool TPaintBox::surfaceFits() const
{
    const qreal ratio = devicePixelRatioF();
    return m_surface.devicePixelRatio() == ratio && m_surface.size() == ScreenImage::pixelSize(size(), ratio);
}

// For a new size, or a screen of another density: the lines since the last
// clear are drawn again, in the pen's colour of now (set once, at start).
void TPaintBox::remakeSurface()
{
    m_surface = blankSurface();
    for (const QLine &line : std::as_const(m_segments))
        drawSegment(line);
}

void TPaintBox::paintEvent(QPaintEvent *event)
{
    if (!surfaceFits())
        remakeSurface();
    const QRect area = event->rect();
    const qreal ratio = m_surface.devicePixelRatio();
    QPainter painter(this);
    painter.drawImage(area, m_surface, QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
}

void TPaintBox::resizeEvent(QResizeEvent *)
{
    if (!surfaceFits())
        remakeSurface();
}
