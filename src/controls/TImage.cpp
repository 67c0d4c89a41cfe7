#include "TImage.h"

#include "ScreenImage.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Processors pad their brand text with NUL characters, which fonts draw as boxes.
QString withoutNuls(const QString &text)
{
    if (!text.contains(QChar(u'\0')))
        return text;
    QString shown = text;
    return shown.remove(QChar(u'\0'));
}

} // namespace

TImage::TImage(const QString &name, const QRect &bounds, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setGeometry(bounds);
}

void TImage::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_drawnHere = false;
    m_runs.clear();
    resize(picture.deviceIndependentSize().toSize());
    update();
}

// Made for the screen the control is on, and made again, with everything drawn
// so far, when it moves to a screen of another density.
void TImage::ensureBitmap()
{
    const qreal ratio = devicePixelRatioF();
    if (!m_picture.isNull() && (!m_drawnHere || m_picture.devicePixelRatio() == ratio))
        return;
    m_picture = ScreenImage::blank(size(), ratio, QImage::Format_RGB32);
    m_drawnHere = true;
    m_picture.fill(m_fillColor);
    for (const TextRun &run : std::as_const(m_runs))
        drawRun(run);
}

void TImage::fill(const QColor &color)
{
    ensureBitmap();
    m_fillColor = color;
    m_picture.fill(color);
    m_runs.clear();
    update();
}

void TImage::textOut(QPoint position, const QString &text, const QFont &font, const QColor &color,
                     const QColor &background)
{
    // A screen of another density is caught when painting; texts need only a bitmap.
    if (m_picture.isNull())
        ensureBitmap();
    m_runs.append({position, color, text, font, background});
    drawRun(m_runs.constLast());
    update();
}

void TImage::drawRun(const TextRun &run)
{
    QPainter painter(&m_picture);
    painter.setFont(run.font);
    painter.setPen(run.color);
    painter.setBackground(run.background);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.drawText(run.position + QPoint(0, QFontMetrics(run.font).ascent()), withoutNuls(run.text));
}

int TImage::textWidth(const QString &text, const QFont &font)
{
    return QFontMetrics(font).horizontalAdvance(withoutNuls(text));
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_drawnHere)
        ensureBitmap();
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picture);
}
