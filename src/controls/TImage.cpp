// SPDX-License-Identifier: GPL-3.0-or-later
#include "TImage.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

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
    m_fill.reset();
    m_runs.clear();
    resize(picture.deviceIndependentSize().toSize());
    update();
}

void TImage::fill(const QColor &color)
{
    if (m_picture.isNull())
        m_fill = color;
    else
        m_picture.fill(color);
    m_runs.clear();
    update();
}

void TImage::textOut(QPoint position, const QString &text, const QFont &font, const QColor &color,
                     const QColor &background)
{
    const TextRun run{position, color, text, font, background};
    if (!m_picture.isNull()) {
        QPainter painter(&m_picture);
        draw(painter, run);
    }
    m_runs.append(run);
    update();
}

int TImage::textWidth(const QString &text, const QFont &font)
{
    return QFontMetrics(font).horizontalAdvance(withoutNuls(text));
}

void TImage::draw(QPainter &painter, const TextRun &run)
{
    painter.setFont(run.font);
    painter.setPen(run.color);
    painter.setBackground(run.background);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.drawText(run.position + QPoint(0, QFontMetrics(run.font).ascent()), withoutNuls(run.text));
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
        lines.last() += withoutNuls(run.text);
    }
    return lines;
}

void TImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.drawImage(QPoint(0, 0), m_picture);
        return;
    }
    if (m_fill)
        painter.fillRect(rect(), *m_fill);
    // In the order drawn: a later text's background covers an earlier text.
    for (const TextRun &run : std::as_const(m_runs))
        draw(painter, run);
}
