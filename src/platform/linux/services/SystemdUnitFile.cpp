// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemdUnitFile.h"

#include <QList>

#include <charconv>

using namespace Qt::StringLiterals;

namespace {

bool isComment(const QByteArray &line)
{
    return line.startsWith('#') || line.startsWith(';');
}

// The logical lines: a line ending in a backslash goes on in the next one,
// joined by a blank; comment lines inside such a run are dropped.
QList<QByteArray> logicalLines(const QByteArray &contents)
{
    QList<QByteArray> lines;
    QByteArray pending;
    bool continuing = false;
    for (const QByteArray &raw : contents.split('\n')) {
        QByteArray line = raw.trimmed();
        if (continuing && isComment(line))
            continue;
        const bool continues = line.endsWith('\\');
        if (continues)
            line.chop(1);
        pending += line;
        if (continues) {
            pending += ' ';
            continuing = true;
            continue;
        }
        lines.append(pending);
        pending.clear();
        continuing = false;
    }
    if (!pending.isEmpty())
        lines.append(pending);
    return lines;
}

// The byte of the two hexadecimal digits of a \xNN escape; "\x-1", "\x 1" and "\x+f" are no escapes.
std::optional<char> escapedByte(QByteArrayView digits)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.begin(), digits.end(), value, 16);
    if (error != std::errc() || end != digits.end())
        return std::nullopt;
    return char(value);
}

// systemd unescapes the instance for %I: "-" stands for "/" and \xNN for a byte.
QString unescapedInstance(const QString &instance)
{
    QByteArray bytes;
    const QByteArray escaped = instance.toUtf8();
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const std::optional<char> byte = escaped.at(i) == '\\' && i + 3 < escaped.size() && escaped.at(i + 1) == 'x'
            ? escapedByte(QByteArrayView(escaped).sliced(i + 2, 2))
            : std::nullopt;
        if (byte) {
            bytes += *byte;
            i += 3;
        } else {
            bytes += escaped.at(i) == '-' ? '/' : escaped.at(i);
        }
    }
    return QString::fromUtf8(bytes);
}

} // namespace

std::optional<QString> SystemdUnitFile::description(const QByteArray &contents)
{
    std::optional<QString> result;
    bool inUnitSection = false;
    for (const QByteArray &line : logicalLines(contents)) {
        if (line.isEmpty() || isComment(line))
            continue;
        if (line.startsWith('[')) {
            inUnitSection = line == "[Unit]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inUnitSection || equals < 0 || line.first(equals).trimmed() != "Description")
            continue;
        result = QString::fromUtf8(line.mid(equals + 1).trimmed());
    }
    return result;
}

QString SystemdUnitFile::expandSpecifiers(const QString &text, const QString &unitName)
{
    const qsizetype dot = unitName.lastIndexOf(u'.');
    const QString withoutType = dot < 0 ? unitName : unitName.first(dot);
    const qsizetype at = withoutType.indexOf(u'@');
    const QString prefix = at < 0 ? withoutType : withoutType.first(at);
    const QString instance = at < 0 ? QString() : withoutType.mid(at + 1);

    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'%' || i + 1 == text.size()) {
            result += text.at(i);
            continue;
        }
        const QChar specifier = text.at(++i);
        switch (specifier.unicode()) {
        case u'n':
            result += unitName;
            break;
        case u'N':
            result += withoutType;
            break;
        case u'p':
            result += prefix;
            break;
        case u'P':
            result += unescapedInstance(prefix);
            break;
        case u'i':
            result += instance;
            break;
        case u'I':
            result += unescapedInstance(instance);
            break;
        case u'%':
            result += u'%';
            break;
        default:
            result += u'%';
            result += specifier;
            break;
        }
    }
    return result;
}
