// SPDX-License-Identifier: GPL-3.0-or-later
#include "OneRowTabBar.h"

#include <QFontMetrics>

#include <algorithm>

OneRowTabBar::OneRowTabBar(QWidget *parent)
    : QTabBar(parent)
{
}

int OneRowTabBar::captionWidth(int index) const
{
    return fontMetrics().horizontalAdvance(tabText(index));
}

QStringList OneRowTabBar::texts() const
{
    QStringList result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result.append(tabText(i));
    return result;
}

const OneRowTabBar::Measures &OneRowTabBar::measures() const
{
    // A caption or the font can change before the layout that follows it has run.
    QStringList current = texts();
    if (m_measures && m_measures->texts == current && m_measures->font == font())
        return *m_measures;
    Measures fresh{std::move(current), font(), {}, {}, 0, 0};
    for (int i = 0; i < count(); ++i) {
        fresh.natural.append(QTabBar::tabSizeHint(i));
        fresh.captions.append(captionWidth(i));
        fresh.wanted += fresh.natural.constLast().width();
        fresh.captionsTotal += fresh.captions.constLast();
    }
    return m_measures.emplace(std::move(fresh));
}

QSize OneRowTabBar::tabSizeHint(int index) const
{
    const Measures &all = measures();
    QSize size = all.natural.value(index);
    const int room = all.wanted - all.captionsTotal;
    if (all.wanted <= width() || room <= 0)
        return size;
    // Each tab keeps its share of the room there is, rounded down so that the row fits.
    const int fitting = std::max(width() - all.captionsTotal, 0);
    const int ownRoom = size.width() - all.captions.value(index);
    size.setWidth(all.captions.value(index) + ownRoom * fitting / room);
    return size;
}

// What a tab's size follows besides the captions and the font: its icon, the style, the
// language's direction; each change passes through one of these.
void OneRowTabBar::tabInserted(int index)
{
    m_measures.reset();
    QTabBar::tabInserted(index);
}

void OneRowTabBar::tabRemoved(int index)
{
    m_measures.reset();
    QTabBar::tabRemoved(index);
}

void OneRowTabBar::changeEvent(QEvent *event)
{
    m_measures.reset();
    QTabBar::changeEvent(event);
}
