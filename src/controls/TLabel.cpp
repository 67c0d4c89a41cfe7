// SPDX-License-Identifier: GPL-3.0-or-later
#include "TLabel.h"

#include "FormFonts.h"
#include "JoinedText.h"

#include <QAccessible>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

TLabel::TLabel(const QString &name, const QRect &bounds, QString caption, QWidget *parent, Qt::Alignment alignment)
    : QWidget(parent)
    , m_caption(std::move(caption))
    , m_shown(m_caption)
    , m_rightJustified(alignment.testFlag(Qt::AlignRight))
{
    setObjectName(name);
    setGeometry(bounds);
    adjustSizeToCaption();
}

void TLabel::setCaption(const QString &caption)
{
    setTexts(caption, caption);
}

void TLabel::setCaption(const JoinedText &text)
{
    setTexts(text.plain(), text.shown());
}

void TLabel::setTexts(const QString &caption, const QString &shown)
{
    if (caption == m_caption && shown == m_shown)
        return;
    const QString old = std::exchange(m_caption, caption);
    m_shown = shown;
    // A selection stays where it was, as far as the new text reaches.
    m_selectionStart = std::min(m_selectionStart, int(m_caption.size()));
    m_selectionEnd = std::min(m_selectionEnd, int(m_caption.size()));
    adjustSizeToCaption();
    update();
    if (QAccessible::isActive() && old != m_caption) {
        QAccessibleTextUpdateEvent event(this, 0, old, m_caption);
        QAccessible::updateAccessibility(&event);
    }
}

TLabel *TLabel::captionLabel(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent)
{
    auto *label = new TLabel(name, bounds, caption, parent);
    label->setTextColor(FormFonts::captionColor());
    return label;
}

QColor TLabel::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void TLabel::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

int TLabel::textFlags() const
{
    return Qt::TextSingleLine | Qt::TextExpandTabs | Qt::AlignTop | (m_rightJustified ? Qt::AlignRight : Qt::AlignLeft);
}

namespace {

bool hasControlCharacters(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < u' '; });
}

// What QFontMetrics::size() gives for one line without tabs, at a fraction of
// its cost: labels such as the uptime change every second.
QSize plainTextSize(const QFontMetricsF &metrics, const QString &text)
{
    return QSize(qCeil(metrics.horizontalAdvance(text)), qCeil(metrics.height()));
}

// Lays the caption out on one line as the label draws it; gives the x where the line starts.
qreal layOutCaption(const TLabel &label, QTextLayout &layout)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(label.width());
    layout.endLayout();
    return label.isRightJustified() && line.isValid() ? label.width() - line.naturalTextWidth() : 0;
}

} // namespace

QSize TLabel::captionSize() const
{
    // An empty caption keeps the height of one line.
    const QString measured = m_caption.isEmpty() ? QStringLiteral(" ") : m_shown;
    QSize size = hasControlCharacters(measured) ? fontMetrics().size(textFlags(), measured)
                                                : plainTextSize(QFontMetricsF(font()), measured);
    if (m_caption.isEmpty())
        size.setWidth(0);
    return size;
}

void TLabel::adjustSizeToCaption()
{
    const QSize size = captionSize();
    const QRect old = geometry();
    const int left = m_rightJustified ? old.left() + old.width() - size.width() : old.left();
    setGeometry(left, old.top(), size.width(), size.height());
}

void TLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        adjustSizeToCaption();
    QWidget::changeEvent(event);
}

void TLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(textColor());
    if (m_selectionStart != m_selectionEnd) {
        paintSelection(painter);
        return;
    }
    painter.drawText(rect(), textFlags(), m_shown);
}

void TLabel::paintSelection(QPainter &painter) const
{
    QTextLayout layout(m_caption, font(), this);
    const qreal left = layOutCaption(*this, layout);
    QTextLayout::FormatRange selected;
    selected.start = m_selectionStart;
    selected.length = m_selectionEnd - m_selectionStart;
    selected.format.setBackground(palette().brush(QPalette::Highlight));
    selected.format.setForeground(palette().brush(QPalette::HighlightedText));
    layout.draw(&painter, QPointF(left, 0), {selected});
}

void TLabel::setSelectable(bool selectable)
{
    m_selectable = selectable;
    if (selectable)
        setCursor(Qt::IBeamCursor);
    else
        unsetCursor();
    setFocusPolicy(selectable ? Qt::ClickFocus : Qt::NoFocus);
    setSelection(0, 0);
}

void TLabel::setSelection(int start, int end)
{
    const int size = int(m_caption.size());
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    if (start == m_selectionStart && end == m_selectionEnd)
        return;
    m_selectionStart = start;
    m_selectionEnd = end;
    update();
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent event(this, start, end);
        QAccessible::updateAccessibility(&event);
    }
}

QString TLabel::selectedText() const
{
    return m_caption.mid(m_selectionStart, m_selectionEnd - m_selectionStart);
}

int TLabel::positionAt(QPointF point) const
{
    QTextLayout layout(m_caption, font(), this);
    const qreal left = layOutCaption(*this, layout);
    return layout.lineCount() > 0 ? layout.lineAt(0).xToCursor(point.x() - left) : 0;
}

void TLabel::mousePressEvent(QMouseEvent *event)
{
    if (!m_selectable || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_selectionAnchor = positionAt(event->position());
    setSelection(m_selectionAnchor, m_selectionAnchor);
}

void TLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selectable || !event->buttons().testFlag(Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const int position = positionAt(event->position());
    setSelection(std::min(m_selectionAnchor, position), std::max(m_selectionAnchor, position));
}

void TLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!m_selectable || event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    setSelection(0, int(m_caption.size()));
}

void TLabel::focusOutEvent(QFocusEvent *event)
{
    // The context menu takes the focus for a moment; its "copy" still sees the selection.
    if (event->reason() != Qt::PopupFocusReason)
        setSelection(0, 0);
    QWidget::focusOutEvent(event);
}
