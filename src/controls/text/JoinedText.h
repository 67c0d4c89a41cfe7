// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A text joined from the program's own words and texts from outside (names of
// drives, printers and hosts), kept in two forms. The plain text is the text
// as built, for the state dump, copying and reports. The shown text draws each
// outside part as a bidirectional isolate, so that a name beginning with a
// right-to-left override cannot reorder the program's words around it, and
// shows control characters as their pictures (a terminal escape as ␛), as the
// report prints them, where a font would draw a box or nothing.
class JoinedText
{
public:
    JoinedText() = default;

    // Appends the program's own words.
    JoinedText &own(const QString &text);
    // Appends a text from outside, as it is.
    JoinedText &outside(const QString &text);
    // Appends another joined text, keeping its outside parts isolated.
    JoinedText &join(const JoinedText &other);

    const QString &plain() const { return m_plain; }
    const QString &shown() const { return m_shown; }

    // The text as an isolate of its own: whatever directions it holds end with it.
    static QString isolated(const QString &text);
    // The text with each control character as its picture (U+2400 on); NULs left out.
    static QString withVisibleControls(const QString &text);

private:
    QString m_plain;
    QString m_shown;
};
