// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// One line of /proc/PID/mountinfo (see proc(5)).
struct MountEntry
{
    int mountId = 0;
    int parentId = 0;
    quint32 major = 0; // st_dev of the mounted file system; 0 for anonymous ones
    quint32 minor = 0;
    QString root; // the directory of the file system that is mounted here
    QString mountPoint;
    QString fileSystemType; // "ext4", "fuse.sshfs"
    QString source; // "/dev/sda1", "//server/share", "tmpfs"

    bool operator==(const MountEntry &) const = default;
};

// Reads the kernel's mount table text; lines it cannot read are left out.
class MountInfoParser
{
public:
    static QList<MountEntry> parse(QByteArrayView text);
    // The kernel writes blanks, tabs, newlines and backslashes in paths as \ooo.
    static QString unescape(QByteArrayView field);
};
