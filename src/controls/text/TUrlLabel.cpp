// SPDX-License-Identifier: GPL-3.0-or-later
#include "TUrlLabel.h"

#include "platform/ShellSource.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace {

// Blanks and control characters only (or nothing at all).
bool isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= u' '; });
}

} // namespace

TUrlLabel::TUrlLabel(ShellSource &shell, const QString &name, const QRect &bounds, const StoredFont &font,
                     const QString &caption, QString url, QWidget *parent)
    : TStyledLabel(name, bounds, caption, parent)
    , m_shell(shell)
    , m_url(std::move(url))
    , m_visitedColor(128, 0, 128)
    , m_unvisitedColor(palette().color(QPalette::Highlight))
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    QFont underlined = this->font();
    underlined.setUnderline(true);
    setFont(underlined);
    setFontColor(m_unvisitedColor);
    // The form's font replaces the link look: the unvisited colour shows only once a setter applies it.
    loadFont(font);
}

void TUrlLabel::setVisited(bool visited)
{
    if (visited == m_visited)
        return;
    m_visited = visited;
    applyLinkColor();
    update();
}

void TUrlLabel::setVisitedColor(const QColor &color)
{
    if (color == m_visitedColor)
        return;
    m_visitedColor = color;
    applyLinkColor();
    update();
}

void TUrlLabel::setUnvisitedColor(const QColor &color)
{
    if (color == m_unvisitedColor)
        return;
    m_unvisitedColor = color;
    applyLinkColor();
    update();
}

void TUrlLabel::applyLinkColor()
{
    setFontColor(m_visited ? m_visitedColor : m_unvisitedColor);
}

void TUrlLabel::click()
{
    TStyledLabel::click();
    // Blanks only decide whether the URL counts; the chosen text goes to the shell as it is.
    const QString target = isBlank(m_url) ? caption() : m_url;
    if (isBlank(target))
        return;
    // A failed open stays silent and the link unvisited; the shell shows no message of its own.
    if (m_shell.open(target))
        setVisited(true);
}

void TUrlLabel::paintEvent(QPaintEvent *event)
{
    TStyledLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}
