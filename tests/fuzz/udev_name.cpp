// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/drives/LinuxVolumeIds.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

// A link name in /dev/disk/by-label or by-uuid, as udev escapes it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView name(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString decoded = LinuxVolumeIds::decodeUdevName(name);
    if (!name.contains('\\'))
        require(decoded == QString::fromUtf8(name));

    // Every byte written as \xNN reads back as the bytes themselves.
    const QByteArrayView head = name.first(qMin<qsizetype>(name.size(), 64));
    QByteArray escaped;
    for (const char byte : head)
        escaped += "\\x" + QByteArray::number(uchar(byte), 16).rightJustified(2, '0');
    require(LinuxVolumeIds::decodeUdevName(escaped) == QString::fromUtf8(head));

    LinuxVolumeIds::serialFromUuid(decoded);
    return 0;
}
