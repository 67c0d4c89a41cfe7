// SPDX-License-Identifier: GPL-3.0-or-later
#include "TImage.h"

#include "controls/text/PrimarySelection.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

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
    m_selectedLine = -1;
    resize(picture.deviceIndependentSize().toSize());
    update();
}

void TImage::setDensePicture(const QIcon &icon)
{
    m_densePicture = icon;
    update();
}

void TImage::fill(const QColor &color)
{
    if (m_picture.isNull())
        m_fill = color;
    else
        m_picture.fill(color);
    m_runs.clear();
    m_selectedLine = -1;
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

QList<TImage::TextRun> TImage::readingOrder() const
{
    QList<TextRun> ordered = m_runs;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TextRun &a, const TextRun &b) { return a.position.y() < b.position.y(); });
    return ordered;
}

QStringList TImage::textLines() const
{
    QStringList lines;
    int row = 0;
    for (const TextRun &run : readingOrder()) {
        if (lines.isEmpty() || run.position.y() != row)
            lines.append(QString());
        row = run.position.y();
        lines.last() += withoutNuls(run.text);
    }
    return lines;
}

QList<int> TImage::rowTops() const
{
    QList<int> tops;
    for (const TextRun &run : readingOrder())
        if (tops.isEmpty() || tops.constLast() != run.position.y())
            tops.append(run.position.y());
    return tops;
}

int TImage::rowAt(int y) const
{
    const QList<int> tops = rowTops();
    const auto below = std::upper_bound(tops.cbegin(), tops.cend(), y);
    return below == tops.cbegin() ? -1 : int(below - tops.cbegin()) - 1;
}

void TImage::setLinesSelectable(bool selectable)
{
    m_linesSelectable = selectable;
    setFocusPolicy(selectable ? Qt::StrongFocus : Qt::NoFocus);
    setSelectedLine(-1);
}

void TImage::setSelectedLine(int line)
{
    const qsizetype count = rowTops().size();
    line = line < 0 || count == 0 ? -1 : int(std::min<qsizetype>(line, count - 1));
    if (line == m_selectedLine)
        return;
    m_selectedLine = line;
    update();
    if (QAccessible::isActive()) {
        const auto [start, end] = selectedRange();
        QAccessibleTextSelectionEvent event(this, start, end);
        QAccessible::updateAccessibility(&event);
    }
}

std::pair<int, int> TImage::selectedRange() const
{
    const QStringList lines = textLines();
    qsizetype start = 0;
    for (int i = 0; i < m_selectedLine && i < lines.size(); ++i)
        start += lines.at(i).size() + 1;
    return {int(start), int(start + lines.value(m_selectedLine).size())};
}

QString TImage::selectedText() const
{
    return textLines().value(m_selectedLine);
}

void TImage::keyPressEvent(QKeyEvent *event)
{
    const int last = int(rowTops().size()) - 1;
    const int page = std::max(1, height() / std::max(1, fontMetrics().height()));
    int line = m_selectedLine;
    switch (m_linesSelectable ? event->key() : Qt::Key_unknown) {
    case Qt::Key_Up:
        line = std::max(0, line - 1);
        break;
    case Qt::Key_Down:
        line = std::min(last, line + 1);
        break;
    case Qt::Key_PageUp:
        line = std::max(0, line - page);
        break;
    case Qt::Key_PageDown:
        line = std::min(last, line + page);
        break;
    case Qt::Key_Home:
        line = 0;
        break;
    case Qt::Key_End:
        line = last;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setSelectedLine(line);
    event->accept();
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    if (!m_linesSelectable || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setSelectedLine(rowAt(int(event->position().y())));
    if (const QString line = selectedText(); !line.isEmpty())
        PrimarySelection::offer(line);
}

void TImage::focusInEvent(QFocusEvent *event)
{
    // Reached with the Tab key, the first line shows where the focus is.
    if (m_linesSelectable && m_selectedLine < 0
        && (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason))
        setSelectedLine(0);
    QWidget::focusInEvent(event);
}

void TImage::focusOutEvent(QFocusEvent *event)
{
    // The context menu takes the focus for a moment; its "copy" still sees the line.
    if (event->reason() != Qt::PopupFocusReason)
        setSelectedLine(-1);
    QWidget::focusOutEvent(event);
}

void TImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_picture.isNull()) {
        const qreal density = devicePixelRatioF();
        if (density > 1 && !m_densePicture.isNull())
            painter.drawPixmap(QPoint(0, 0),
                               m_densePicture.pixmap(m_picture.deviceIndependentSize().toSize(), density));
        else
            painter.drawImage(QPoint(0, 0), m_picture);
        return;
    }
    if (m_fill)
        painter.fillRect(rect(), *m_fill);
    // In the order drawn: a later text's background covers an earlier text.
    for (const TextRun &run : std::as_const(m_runs))
        draw(painter, run);
    paintSelectedLine(painter);
}

// The chosen line drawn again as selected text is drawn: its place and its characters as they were.
void TImage::paintSelectedLine(QPainter &painter) const
{
    const QList<int> tops = rowTops();
    if (m_selectedLine < 0 || m_selectedLine >= tops.size())
        return;
    const int top = tops.at(m_selectedLine);
    const QColor background = palette().color(QPalette::Highlight);
    const QColor text = palette().color(QPalette::HighlightedText);
    for (const TextRun &run : m_runs) {
        if (run.position.y() != top)
            continue;
        const QFontMetricsF metrics(run.font);
        painter.fillRect(QRectF(run.position, QSizeF(textWidth(run.text, run.font), qCeil(metrics.height()))),
                         background);
        draw(painter, TextRun{run.position, text, run.text, run.font, background});
    }
}
