// SPDX-License-Identifier: GPL-3.0-or-later
#include "MountInfoParser.h"

#include <QByteArray>
#include <QVarLengthArray>

#include <optional>

namespace {

// Fields before the optional ones: ID, parent ID, MAJ:MIN, root, mount point, options.
constexpr qsizetype FixedFieldCount = 6;
// Fields after the "-" separator: type, source, super options.
constexpr qsizetype TrailingFieldCount = 3;

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The line's fields between single blanks, as views into it (two blanks in a
// row make an empty field). Views rather than copies: a busy machine's table
// has tens of thousands of lines.
QVarLengthArray<QByteArrayView, 16> fieldsOf(QByteArrayView line)
{
    QVarLengthArray<QByteArrayView, 16> fields;
    for (;;) {
        const qsizetype blank = line.indexOf(' ');
        if (blank < 0) {
            fields.append(line);
            return fields;
        }
        fields.append(line.first(blank));
        line = line.sliced(blank + 1);
    }
}

std::optional<quint32> numberOf(QByteArrayView field)
{
    bool ok = false;
    const uint value = field.toUInt(&ok);
    return ok ? std::optional<quint32>(value) : std::nullopt;
}

std::optional<MountEntry> parseLine(QByteArrayView line)
{
    const QVarLengthArray<QByteArrayView, 16> fields = fieldsOf(line);
    qsizetype separator = FixedFieldCount;
    while (separator < fields.size() && fields.at(separator) != "-")
        ++separator;
    if (separator >= fields.size() || fields.size() < separator + TrailingFieldCount)
        return std::nullopt;
    const QByteArrayView device = fields.at(2);
    const qsizetype colon = device.indexOf(':');
    if (colon < 0 || device.sliced(colon + 1).contains(':'))
        return std::nullopt;
    bool ok[2] = {false, false};
    MountEntry entry;
    entry.mountId = fields.at(0).toInt(&ok[0]);
    entry.parentId = fields.at(1).toInt(&ok[1]);
    const std::optional<quint32> major = numberOf(device.first(colon));
    const std::optional<quint32> minor = numberOf(device.sliced(colon + 1));
    if (!(ok[0] && ok[1] && major && minor))
        return std::nullopt;
    entry.major = *major;
    entry.minor = *minor;
    entry.root = MountInfoParser::unescape(fields.at(3));
    entry.mountPoint = MountInfoParser::unescape(fields.at(4));
    entry.fileSystemType = MountInfoParser::unescape(fields.at(separator + 1));
    entry.source = MountInfoParser::unescape(fields.at(separator + 2));
    if (!entry.mountPoint.startsWith(u'/'))
        return std::nullopt;
    return entry;
}

} // namespace

QList<MountEntry> MountInfoParser::parse(QByteArrayView text)
{
    QList<MountEntry> entries;
    while (!text.isEmpty()) {
        qsizetype end = text.indexOf('\n');
        if (end < 0)
            end = text.size();
        if (const std::optional<MountEntry> entry = parseLine(text.first(end)))
            entries.append(*entry);
        text = text.sliced(qMin(end + 1, text.size()));
    }
    return entries;
}

QString MountInfoParser::unescape(QByteArrayView field)
{
    if (!field.contains('\\'))
        return QString::fromUtf8(field);
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size() && isOctalDigit(field.at(i + 1))
            && isOctalDigit(field.at(i + 2)) && isOctalDigit(field.at(i + 3))) {
            bytes.append(char((field.at(i + 1) - '0') * 64 + (field.at(i + 2) - '0') * 8 + (field.at(i + 3) - '0')));
            i += 3;
        } else {
            bytes.append(field.at(i));
        }
    }
    return QString::fromUtf8(bytes);
}
