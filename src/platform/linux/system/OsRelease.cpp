// SPDX-License-Identifier: GPL-3.0-or-later
#include "OsRelease.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// Inside double quotes a backslash escapes only these, as in the shell.
bool escapableInDoubleQuotes(char c)
{
    return c == '"' || c == '\\' || c == '$' || c == '`' || c == '\n';
}

bool isKey(QByteArrayView key)
{
    if (key.isEmpty())
        return false;
    for (const char c : key)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

} // namespace

QString OsRelease::unquoted(QByteArrayView value)
{
    QByteArray out;
    char quote = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (quote == '\'') {
            if (c == '\'')
                quote = 0;
            else
                out.append(c);
        } else if (c == '\\' && i + 1 < value.size() && (quote == 0 || escapableInDoubleQuotes(value.at(i + 1)))) {
            out.append(value.at(++i));
        } else if (c == '"' && quote == '"') {
            quote = 0;
        } else if ((c == '"' || c == '\'') && quote == 0) {
            quote = c;
        } else {
            out.append(c);
        }
    }
    return QString::fromUtf8(out);
}

QHash<QString, QString> OsRelease::fields(const QByteArray &text)
{
    QHash<QString, QString> fields;
    for (const QByteArray &rawLine : text.split('\n')) {
        const QByteArrayView line = QByteArrayView(rawLine).trimmed();
        const qsizetype equals = line.indexOf('=');
        if (line.startsWith('#') || equals <= 0)
            continue;
        const QByteArrayView key = line.first(equals);
        if (isKey(key))
            fields.insert(QString::fromLatin1(key), unquoted(line.sliced(equals + 1)));
    }
    return fields;
}

OperatingSystem OsRelease::operatingSystem(const QByteArray &text)
{
    const QHash<QString, QString> values = fields(text);
    OperatingSystem system{values.value(u"PRETTY_NAME"_s), values.value(u"ID"_s), values.value(u"VERSION_ID"_s)};
    if (system.name.trimmed().isEmpty()) {
        QStringList parts{values.value(u"NAME"_s).trimmed(), values.value(u"VERSION"_s).trimmed()};
        parts.removeAll(QString());
        system.name = parts.join(u' ');
    }
    if (system.name.trimmed().isEmpty())
        system.name = u"Linux"_s;
    return system;
}
