#include "TImage.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

TImage::TImage(const QString &name, const QRect &bounds, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setGeometry(bounds);
}

void TImage::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_runs.clear();
    resize(picture.deviceIndependentSize().toSize());
    update();
}

void TImage::ensureBitmap()
{
    if (m_picture.isNull())
        m_picture = QImage(size(), QImage::Format_RGB32);
}

void TImage::fill(const QColor &color)
{
    ensureBitmap();
    m_picture.fill(color);
    m_runs.clear();
    update();
}

void TImage::textOut(QPoint position, const QString &text, const QFont &font, const QColor &color,
                     const QColor &background)
{
    ensureBitmap();
    QPainter painter(&m_picture);
    painter.setFont(font);
    painter.setPen(color);
    painter.setBackground(background);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.drawText(position + QPoint(0, QFontMetrics(font).ascent()), text);
    m_runs.append({position, color, text});
    update();
}

int TImage::textWidth(const QString &text, const QFont &font)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

QStringList TImage::textLines() const
{
    QList<TextRun> ordered = m_runs;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TextRun &a, const TextRun &b) { return a.position.y() < b.position.y(); });
    QStringList lines;
    int row = 0;
    for (const TextRun &run : std::as_const(ordered)) {
        if (lines.isEmpty() || run.position.y() != row)
            lines.append(QString());
        row = run.position.y();
        lines.last() += QString(run.text).remove(QChar(u'\0'));
    }
    return lines;
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picture);
}
