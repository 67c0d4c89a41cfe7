// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// What udev's /dev/disk/by-label and by-uuid names say about a volume.
class LinuxVolumeIds
{
public:
    // udev writes unsafe bytes of a name as \xNN: "My\x20Disk" is "My Disk".
    static QString decodeUdevName(QByteArrayView name);
    // The 32-bit serial number a file system's UUID stands for: a FAT or exFAT
    // "1A2B-3C4D" is the number itself, NTFS's 16 hex digits give their low 32
    // bits, any other UUID its first 8 hex digits. nullopt for anything else.
    static std::optional<quint32> serialFromUuid(const QString &uuid);
};
