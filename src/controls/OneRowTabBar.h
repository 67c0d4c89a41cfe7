// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QList>
#include <QSize>
#include <QStringList>
#include <QTabBar>

#include <optional>

// A tab bar that keeps every tab on its row, its caption whole: where the
// captions with the style's room beside them are wider than the bar, that room
// is narrowed for every tab alike, rather than scrolling tabs out of sight.
// Captions that fit keep the style's room untouched.
class OneRowTabBar : public QTabBar
{
    Q_OBJECT

public:
    explicit OneRowTabBar(QWidget *parent);

    // The caption's own width, without the room beside it.
    int captionWidth(int index) const;

protected:
    QSize tabSizeHint(int index) const override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;
    void changeEvent(QEvent *event) override;

private:
    // What every tab asks for with its room and its caption alone. One layout asks each tab's size
    // several times, and each answer needs every tab's: measured once per layout, not per question.
    struct Measures
    {
        QStringList texts;
        QFont font;
        QList<QSize> natural;
        QList<int> captions;
        int wanted = 0; // the natural widths together
        int captionsTotal = 0;
    };
    const Measures &measures() const;
    QStringList texts() const;

    mutable std::optional<Measures> m_measures;
};
