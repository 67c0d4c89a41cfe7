// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Texts from outside made safe to print: nothing in them may act on the terminal,
// editor or program that shows them.
class PlainText
{
public:
    // A JSON string, quotes included: control characters, C1 controls,
    // bidirectional formatting and line separators escaped as \uXXXX; NULs left out.
    static QString jsonString(const QString &text);
};
