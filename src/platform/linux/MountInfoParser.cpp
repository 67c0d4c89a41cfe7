#include "MountInfoParser.h"

#include <QByteArray>

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

std::optional<MountEntry> parseLine(QByteArrayView line)
{
    const QList<QByteArray> fields = line.toByteArray().split(' ');
    const qsizetype separator = fields.indexOf(QByteArrayLiteral("-"), FixedFieldCount);
    if (separator < 0 || fields.size() < separator + TrailingFieldCount)
        return std::nullopt;
    const QList<QByteArray> device = fields.at(2).split(':');
    bool ok[4] = {false, false, false, false};
    MountEntry entry;
    entry.mountId = fields.at(0).toInt(&ok[0]);
    entry.parentId = fields.at(1).toInt(&ok[1]);
    if (device.size() == 2) {
        entry.major = device.at(0).toUInt(&ok[2]);
        entry.minor = device.at(1).toUInt(&ok[3]);
    }
    if (!(ok[0] && ok[1] && ok[2] && ok[3]))
        return std::nullopt;
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
