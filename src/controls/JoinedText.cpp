// SPDX-License-Identifier: GPL-3.0-or-later
#include "JoinedText.h"

namespace {

// The isolate marks of the bidirectional algorithm.
constexpr char16_t LeftToRightIsolate = 0x2066;
constexpr char16_t RightToLeftIsolate = 0x2067;
constexpr char16_t FirstStrongIsolate = 0x2068;
constexpr char16_t PopDirectionalIsolate = 0x2069;

bool opensIsolate(QChar c)
{
    return c == LeftToRightIsolate || c == RightToLeftIsolate || c == FirstStrongIsolate;
}

} // namespace

JoinedText &JoinedText::own(const QString &text)
{
    m_plain += text;
    m_shown += text;
    return *this;
}

JoinedText &JoinedText::outside(const QString &text)
{
    m_plain += text;
    m_shown += isolated(text);
    return *this;
}

JoinedText &JoinedText::join(const JoinedText &other)
{
    m_plain += other.m_plain;
    m_shown += other.m_shown;
    return *this;
}

// The closing mark of an isolate also ends the embeddings and overrides begun
// inside it. Isolates the text opens are closed before it; a closing mark
// without its opening one would close ours early, so it is left out.
QString JoinedText::isolated(const QString &text)
{
    QString shown;
    shown.reserve(text.size() + 2);
    shown += QChar(FirstStrongIsolate);
    int open = 0;
    for (const QChar c : text) {
        if (c == PopDirectionalIsolate && open == 0)
            continue;
        open += opensIsolate(c) ? 1 : c == PopDirectionalIsolate ? -1 : 0;
        shown += c;
    }
    shown += QString(open + 1, QChar(PopDirectionalIsolate));
    return shown;
}
