// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopEntry.h"

#include <QList>

using namespace Qt::StringLiterals;

namespace {

// The string escapes of the format: \s \n \t \r and \\.
QString unescaped(const QString &value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != u'\\' || i + 1 == value.size()) {
            result += value.at(i);
            continue;
        }
        switch (value.at(++i).unicode()) {
        case u's':
            result += u' ';
            break;
        case u'n':
            result += u'\n';
            break;
        case u't':
            result += u'\t';
            break;
        case u'r':
            result += u'\r';
            break;
        case u'\\':
            result += u'\\';
            break;
        default:
            result += u'\\';
            result += value.at(i);
            break;
        }
    }
    return result;
}

} // namespace

std::optional<QString> DesktopEntry::name(const QByteArray &contents)
{
    bool inMainGroup = false;
    for (const QByteArray &raw : contents.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || line.startsWith('#') || equals < 0 || line.first(equals).trimmed() != "Name")
            continue;
        const QString value = unescaped(QString::fromUtf8(line.mid(equals + 1).trimmed()));
        return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
    }
    return std::nullopt;
}
