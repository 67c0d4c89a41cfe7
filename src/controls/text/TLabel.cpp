// SPDX-License-Identifier: GPL-3.0-or-later
#include "TLabel.h"

#include "controls/text/FormFonts.h"
#include "controls/text/JoinedText.h"
#include "controls/text/PrimarySelection.h"
#include "controls/text/ToolTipText.h"

#include <QAccessible>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolTip>
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
    const bool wholeSelected = m_selectionStart == 0 && m_selectionEnd > 0 && m_selectionEnd == m_caption.size();
    const QString old = std::exchange(m_caption, caption);
    m_shown = shown;
    // A selection stays where it was, as far as the new text reaches; a whole one stays whole.
    m_selectionStart = std::min(m_selectionStart, int(m_caption.size()));
    m_selectionEnd = wholeSelected ? int(m_caption.size()) : std::min(m_selectionEnd, int(m_caption.size()));
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

// How far the font's descenders and underscores reach below the baseline. Where
// the font's declared descent falls short of them, the label's bottom would cut
// them off and "Office_Laser" would read "Office Laser".
qreal inkDescent(const QFont &font)
{
    static QHash<QString, qreal> known; // by font; labels live on the user-interface thread only
    const QString key = font.key();
    if (const auto found = known.constFind(key); found != known.cend())
        return *found;
    const qreal descent = QFontMetricsF(font).tightBoundingRect(QStringLiteral("gjpqy_|,;()[]{}")).bottom();
    known.insert(key, descent);
    return descent;
}

// The rows a line of the face takes, as the form's labels are laid out: its ascent and its
// descent (or how far descenders and underscores really reach, where that is further), each
// rounded up to whole rows, and the row below that hinted descenders and underscores fall
// into on screen. The window's 8-point face takes 14 rows, the 10-point bold title 16.
int textHeight(const QFont &font)
{
    const QFontMetricsF metrics(font);
    return qCeil(metrics.ascent()) + qCeil(std::max(metrics.descent(), inkDescent(font))) + 1;
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
    QSize size = hasControlCharacters(measured) ? fontMetrics().size(textFlags(), measured) : lineSize(measured);
    if (m_caption.isEmpty())
        size.setWidth(0);
    return size;
}

// One line without tabs as QFontMetrics::size() measures it, in one pass: labels such as the
// uptime change every second. Laid out, a line that falls back to a taller font (Chinese in an
// Arial label) takes that font's ascent and descent, as it is drawn.
QSize TLabel::lineSize(const QString &text) const
{
    QTextLayout layout(text, font());
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return QSize(qCeil(line.horizontalAdvance()), qCeil(line.ascent() + line.descent()));
}

void TLabel::adjustSizeToCaption()
{
    m_sizePending = s_depth > 0 && !isVisible();
    if (!m_sizePending)
        sizeToCaption();
}

void TLabel::ensureSized()
{
    if (std::exchange(m_sizePending, false))
        sizeToCaption();
}

void TLabel::sizeToCaption()
{
    QSize size = captionSize();
    size.setHeight(std::max(size.height(), textHeight(font())));
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

QRect TLabel::shownRect() const
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return rect();
    const QRect room = parent->contentsRect();
    const int left = std::clamp(room.left() - x(), 0, width());
    const int right = std::clamp(room.right() + 1 - x(), left, width());
    return QRect(left, 0, right - left, height());
}

bool TLabel::isElided() const
{
    return shownRect().width() < width();
}

QString TLabel::toolTipText() const
{
    return isElided() ? JoinedText::withVisibleControls(m_caption) : QString();
}

bool TLabel::event(QEvent *event)
{
    if (event->type() == QEvent::Show)
        ensureSized();
    if (event->type() != QEvent::ToolTip || !isElided())
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    QToolTip::showText(help->globalPos(), ToolTipText::fromLines({m_shown}), this, shownRect());
    return true;
}

void TLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(textColor());
    const QRect shown = shownRect();
    if (m_selectionStart != m_selectionEnd) {
        painter.setClipRect(shown);
        paintSelection(painter);
        return;
    }
    if (shown.width() == width()) {
        painter.drawText(rect(), textFlags(), m_shown);
        return;
    }
    const Qt::TextElideMode cut = m_rightJustified ? Qt::ElideLeft : Qt::ElideRight;
    painter.drawText(shown, textFlags(), fontMetrics().elidedText(m_shown, cut, shown.width(), textFlags()));
}

void TLabel::paintSelection(QPainter &painter) const
{
    // Selected whole (as the Tab key selects it), the caption is drawn as shown, names from outside
    // isolated and control characters as their pictures; a part is drawn in the caption's own positions.
    const bool whole = m_selectionStart == 0 && m_selectionEnd == m_caption.size();
    QTextLayout layout(whole ? m_shown : m_caption, font(), this);
    const qreal left = layOutCaption(*this, layout);
    QTextLayout::FormatRange selected;
    selected.start = whole ? 0 : m_selectionStart;
    selected.length = whole ? int(m_shown.size()) : m_selectionEnd - m_selectionStart;
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
    setFocusPolicy(selectable ? Qt::StrongFocus : Qt::NoFocus);
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

void TLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_selectable || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    offerSelection();
}

void TLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!m_selectable || event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    setSelection(0, int(m_caption.size()));
    offerSelection();
}

void TLabel::offerSelection() const
{
    QString selected = selectedText();
    if (!selected.isEmpty())
        PrimarySelection::offer(selected.remove(QChar(u'\0')));
}

void TLabel::focusInEvent(QFocusEvent *event)
{
    if (m_selectable && (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason))
        setSelection(0, int(m_caption.size()));
    QWidget::focusInEvent(event);
}

void TLabel::focusOutEvent(QFocusEvent *event)
{
    // The context menu takes the focus for a moment; its "copy" still sees the selection.
    if (event->reason() != Qt::PopupFocusReason)
        setSelection(0, 0);
    QWidget::focusOutEvent(event);
}
