// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The Chinese captions start-up writes over the form's English ones, in the
// order it writes them. The report reads its captions from here too.
class FormCaptions
{
public:
    struct Caption
    {
        int tab = -1; // the page whose tab this is; -1 for a control's caption
        QString control; // object name of the label or group box
        QString text; // empty: the program's title
    };

    static const QList<Caption> &all();
    static QString tab(int index);
    // The caption of the control with this object name; empty when start-up leaves it alone.
    static QString of(const QString &control);
};
