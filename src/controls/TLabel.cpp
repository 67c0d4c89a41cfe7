#include "TLabel.h"

#include "FormFonts.h"
#include "JoinedText.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QtMath>

#include <QPainter>
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
    if (caption == m_caption && caption == m_shown)
        return;
    m_caption = caption;
    m_shown = caption;
    adjustSizeToCaption();
    update();
}

void TLabel::setCaption(const JoinedText &text)
{
    if (text.plain() == m_caption && text.shown() == m_shown)
        return;
    m_caption = text.plain();
    m_shown = text.shown();
    adjustSizeToCaption();
    update();
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
    painter.drawText(rect(), textFlags(), m_shown);
}
