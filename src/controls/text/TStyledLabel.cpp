// SPDX-License-Identifier: GPL-3.0-or-later
#include "TStyledLabel.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

TStyledLabel::TStyledLabel(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent,
                           Qt::Alignment alignment)
    : TLabel(name, bounds, caption, parent, alignment)
    , m_fontColor(textColor())
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

int TStyledLabel::textFlags() const
{
    return TLabel::textFlags() | Qt::TextShowMnemonic;
}

QSize TStyledLabel::captionSize() const
{
    // Measured with a blank added, an empty caption or a lone marker keeps a blank's size.
    const QString text = caption();
    const bool blank = text.isEmpty() || text == QStringLiteral("&");
    return fontMetrics().size(textFlags(), blank ? text + QLatin1Char(' ') : text);
}

void TStyledLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        if (m_loading) {
            // Past TLabel on purpose: while the form loads, a font change must not resize the label.
            QWidget::changeEvent(event); // NOLINT(bugprone-parent-virtual-call)
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

void TStyledLabel::keyPressEvent(QKeyEvent *event)
{
    const bool activates = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
        || event->key() == Qt::Key_Space;
    if (!activates || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        TLabel::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        click();
    event->accept();
}
