// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Wording.h"

#include <QList>
#include <QString>

// The captions start-up writes over the form's English design texts, in the
// order it writes them: Chinese, or their translation. The report reads its
// captions from here too.
class FormCaptions
{
public:
    struct Caption
    {
        int tab = -1; // the page whose tab this is; -1 for a control's caption
        QString control; // object name of the label or group box
        const char *source = nullptr; // the Chinese text; null: the program's title
    };

    static const QList<Caption> &all();
    // A caption's text in a language.
    static QString text(const Caption &caption, const Wording &words = Wording::shown());
    static QString tab(int index, const Wording &words = Wording::shown());
    // The caption of the control with this object name; empty when start-up leaves it alone.
    static QString of(const QString &control, const Wording &words = Wording::shown());
};
