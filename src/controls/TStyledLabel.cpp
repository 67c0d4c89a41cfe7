#include "TStyledLabel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

TStyledLabel::TStyledLabel(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent,
                           Qt::Alignment alignment)
    : TLabel(name, bounds, caption, parent, alignment)
    , m_fontColor(textColor())
    , m_shadowColor(palette().color(QPalette::Dark))
    , m_highlightColor(palette().color(QPalette::Light))
    , m_flyByColor(palette().color(QPalette::Highlight))
{
    // The base measured the caption before the mnemonic marker counted.
    adjustSizeToCaption();
}

void TStyledLabel::setFontColor(const QColor &color)
{
    m_fontColor = color;
    if (m_loading)
        return;
    setTextColor(color);
    adjustSizeToCaption();
    update();
}

void TStyledLabel::loadFont(const StoredFont &stored)
{
    m_loading = true;
    setFont(stored.font);
    setFontColor(stored.color);
    m_loading = false;
    setTextColor(m_fontColor);
    adjustSizeToCaption();
}

void TStyledLabel::setTextStyle(TextStyle style)
{
    if (style == m_textStyle)
        return;
    m_textStyle = style;
    update();
}

void TStyledLabel::setShadowColor(const QColor &color)
{
    if (color == m_shadowColor)
        return;
    m_shadowColor = color;
    update();
}

void TStyledLabel::setHighlightColor(const QColor &color)
{
    if (color == m_highlightColor)
        return;
    m_highlightColor = color;
    update();
}

void TStyledLabel::setShadowDepth(int depth)
{
    if (depth == m_shadowDepth)
        return;
    m_shadowDepth = depth;
    update();
}

int TStyledLabel::textFlags() const
{
    return TLabel::textFlags() | Qt::TextShowMnemonic;
}

QSize TStyledLabel::captionSize() const
{
    // Measured with a blank added, an empty caption or a lone marker keeps a line's height.
    const QString text = caption();
    const bool blank = text.isEmpty() || text == QStringLiteral("&");
    return fontMetrics().size(textFlags(), blank ? text + QLatin1Char(' ') : text);
}

void TStyledLabel::drawCaption(QPainter &painter, QPoint offset, const QColor &color) const
{
    if (!color.isValid())
        return;
    painter.setPen(color);
    painter.drawText(rect().translated(offset), textFlags(), caption());
}

void TStyledLabel::paintEvent(QPaintEvent *)
{
    // The label takes its parent's colour, so the parent's own background is left to show.
    QPainter painter(this);
    if (!isEnabled()) {
        drawCaption(painter, QPoint(1, 1), palette().color(QPalette::Light));
        drawCaption(painter, QPoint(0, 0), palette().color(QPalette::Dark));
        return;
    }
    switch (m_textStyle) {
    case tsRaised:
        drawCaption(painter, QPoint(-1, -1), m_highlightColor);
        drawCaption(painter, QPoint(1, 1), m_shadowColor);
        break;
    case tsRecessed:
        drawCaption(painter, QPoint(1, 1), m_highlightColor);
        drawCaption(painter, QPoint(-1, -1), m_shadowColor);
        break;
    case tsShadow:
        drawCaption(painter, QPoint(m_shadowDepth, m_shadowDepth), m_shadowColor);
        break;
    case tsNormal:
        break;
    }
    drawCaption(painter, QPoint(0, 0), textColor());
}

void TStyledLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        if (m_loading) {
            QWidget::changeEvent(event);
            return;
        }
        setTextColor(m_fontColor);
    }
    TLabel::changeEvent(event);
}

void TStyledLabel::click()
{
    Q_EMIT clicked();
}

void TStyledLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

void TStyledLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && rect().contains(event->position().toPoint()))
        click();
}

void TStyledLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The press that a double click follows is no new click: a double click opens a link once.
    m_pressed = false;
    event->accept();
}

void TStyledLabel::enterEvent(QEnterEvent *event)
{
    if (m_flyByEnabled) {
        m_colorBeforeFlyBy = m_fontColor;
        setFontColor(m_flyByColor);
    }
    TLabel::enterEvent(event);
}

void TStyledLabel::leaveEvent(QEvent *event)
{
    if (m_colorBeforeFlyBy.isValid()) {
        setFontColor(m_colorBeforeFlyBy);
        m_colorBeforeFlyBy = QColor();
    }
    TLabel::leaveEvent(event);
}
