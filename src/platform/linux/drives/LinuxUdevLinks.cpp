// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxUdevLinks.h"

#include "LinuxVolumeIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

LinuxUdevLinks::LinuxUdevLinks(QString directory)
    : m_directory(std::move(directory))
{
}

std::optional<QString> LinuxUdevLinks::deviceKey(const QString &path)
{
    struct stat device
    { };
    if (::stat(QFile::encodeName(path).constData(), &device) != 0)
        return std::nullopt;
    if (S_ISBLK(device.st_mode))
        return u"block %1:%2"_s.arg(major(device.st_rdev)).arg(minor(device.st_rdev));
    // A tree standing in for /dev holds plain files.
    return u"file "_s + QFileInfo(path).canonicalFilePath();
}

void LinuxUdevLinks::refreshIfChanged()
{
    struct stat now
    { };
    if (::stat(QFile::encodeName(m_directory).constData(), &now) != 0)
        now = {};
    const bool same = now.st_ino == m_directoryStat.st_ino && now.st_dev == m_directoryStat.st_dev
        && now.st_mtim.tv_sec == m_directoryStat.st_mtim.tv_sec
        && now.st_mtim.tv_nsec == m_directoryStat.st_mtim.tv_nsec;
    if (m_read && same)
        return;
    m_read = true;
    m_directoryStat = now;
    m_names.clear();
    const QDir links(m_directory);
    for (const QString &name : links.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted))
        if (const std::optional<QString> key = deviceKey(links.filePath(name)))
            m_names.insert(*key, LinuxVolumeIds::decodeUdevName(QFile::encodeName(name)));
}

std::optional<QString> LinuxUdevLinks::nameOf(const QString &devicePath)
{
    refreshIfChanged();
    if (m_names.isEmpty())
        return std::nullopt;
    const std::optional<QString> key = deviceKey(devicePath);
    if (!key)
        return std::nullopt;
    const auto name = m_names.constFind(*key);
    return name == m_names.cend() ? std::nullopt : std::optional<QString>(*name);
}
