// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlainText.h"

using namespace Qt::StringLiterals;

namespace {

// Characters JSON allows raw but that could mislead a person or a program
// reading the text: C1 controls, bidirectional formatting, line separators.
bool misleads(char16_t code)
{
    return (code >= 0x7F && code < 0xA0) || code == 0x061C || code == 0x200E || code == 0x200F
        || (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

} // namespace

QString PlainText::jsonString(const QString &text)
{
    QString json;
    json.reserve(text.size() + 2);
    json.append(u'"');
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        switch (code) {
        case 0:
            break;
        case u'"':
            json.append(u"\\\""_s);
            break;
        case u'\\':
            json.append(u"\\\\"_s);
            break;
        case u'\n':
            json.append(u"\\n"_s);
            break;
        case u'\t':
            json.append(u"\\t"_s);
            break;
        case u'\r':
            json.append(u"\\r"_s);
            break;
        default:
            if (code < 0x20 || misleads(code))
                json.append(u"\\u%1"_s.arg(int(code), 4, 16, QChar(u'0')));
            else
                json.append(c);
        }
    }
    json.append(u'"');
    return json;
}
