// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

#include <optional>

#include <sys/stat.h>

// One of udev's /dev/disk/by-* directories: which device each link names.
// Read once and again only when the directory changes.
class LinuxUdevLinks
{
public:
    explicit LinuxUdevLinks(QString directory);

    // The decoded name of the link that leads to the device at this path.
    std::optional<QString> nameOf(const QString &devicePath);

    // What makes two paths the same device: a block device's number, else the file itself.
    static std::optional<QString> deviceKey(const QString &path);

private:
    void refreshIfChanged();

    QString m_directory;
    struct stat m_directoryStat
    { };
    bool m_read = false;
    QHash<QString, QString> m_names; // device key -> link name
};
