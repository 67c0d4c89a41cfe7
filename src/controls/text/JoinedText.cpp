// SPDX-License-Identifier: GPL-3.0-or-later
#include "JoinedText.h"

#include <algorithm>

namespace {

// The isolate marks of the bidirectional algorithm.
constexpr char16_t LeftToRightIsolate = 0x2066;
constexpr char16_t RightToLeftIsolate = 0x2067;
constexpr char16_t FirstStrongIsolate = 0x2068;
constexpr char16_t PopDirectionalIsolate = 0x2069;

constexpr char16_t ControlPictures = 0x2400;
constexpr char16_t DeletePicture = 0x2421;

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
    m_shown += isolated(withVisibleControls(text));
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

// The C1 controls have no pictures of their own: the replacement character stands in, as in the report.
QString JoinedText::withVisibleControls(const QString &text)
{
    const auto isControl = [](QChar c) {
        return c.unicode() < u' ' || (c.unicode() >= 0x7F && c.unicode() < 0xA0);
    };
    if (std::none_of(text.cbegin(), text.cend(), isControl))
        return text;
    QString visible;
    visible.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == 0)
            continue;
        if (code < u' ')
            visible += QChar(char16_t(ControlPictures + code));
        else if (code == 0x7F)
            visible += QChar(DeletePicture);
        else if (code < 0xA0 && code > 0x7F)
            visible += QChar(QChar::ReplacementCharacter);
        else
            visible += c;
    }
    return visible;
}
