// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxVolumeIds.h"

#include <QByteArray>

namespace {

constexpr int SerialDigits = 8;
constexpr int NtfsDigits = 16;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isHex(const QString &digits)
{
    for (const QChar c : digits)
        if (c.unicode() > 0x7F || hexValue(char(c.unicode())) < 0)
            return false;
    return true;
}

} // namespace

QString LinuxVolumeIds::decodeUdevName(QByteArrayView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const bool escaped = i + 3 < name.size() && name.at(i) == '\\' && name.at(i + 1) == 'x'
            && hexValue(name.at(i + 2)) >= 0 && hexValue(name.at(i + 3)) >= 0;
        if (escaped) {
            bytes.append(char(hexValue(name.at(i + 2)) * 16 + hexValue(name.at(i + 3))));
            i += 3;
        } else {
            bytes.append(name.at(i));
        }
    }
    return QString::fromUtf8(bytes);
}

std::optional<quint32> LinuxVolumeIds::serialFromUuid(const QString &uuid)
{
    QString digits = uuid;
    digits.remove(u'-');
    if (digits.size() < SerialDigits || !isHex(digits))
        return std::nullopt;
    // FAT's "1A2B-3C4D" and other UUIDs start with it; NTFS's 16 digits end with it.
    const bool ntfs = digits.size() == NtfsDigits && digits == uuid;
    const QString serial = ntfs ? digits.right(SerialDigits) : digits.left(SerialDigits);
    return serial.toUInt(nullptr, 16);
}
