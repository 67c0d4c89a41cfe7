// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeDrives.h"

#include <QMetaObject>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

bool hasDrivePrefix(const QString &path)
{
    return path.size() >= 2 && path.at(0).isLetter() && path.at(1) == u':';
}

} // namespace

const FakeDrive *FakeDrives::driveOfRoot(const QString &root) const
{
    if (root.size() != 3 || !hasDrivePrefix(root) || root.at(2) != u'\\')
        return nullptr;
    return m_machine.drive(root.at(0));
}

std::shared_ptr<const FakeDrive> FakeDrives::look(const FakeDrive &drive)
{
    const int delay = m_machine.delays.drives;
    if (delay <= 0)
        return std::make_shared<const FakeDrive>(drive);
    auto &query = m_looks[drive.letter];
    if (!query)
        query = std::make_unique<BackgroundQuery<FakeDrive>>();
    // The worker gets its own copy: the machine may change while it sleeps.
    return query->ask(
        [drive, delay] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            return drive;
        },
        QueryPatience::window().forQuery(query->answer() != nullptr), DriveLookFreshFor);
}

quint32 FakeDrives::logicalDrives()
{
    quint32 mask = 0;
    for (const FakeDrive &drive : m_machine.drives)
        mask |= 1u << (drive.letter.unicode() - u'A');
    return mask;
}

DriveType FakeDrives::driveType(const QString &root)
{
    const FakeDrive *drive = driveOfRoot(root);
    return drive ? DriveType(drive->type) : DriveType::NoRootDir;
}

std::optional<VolumeInformation> FakeDrives::volumeInformation(const QString &root)
{
    const FakeDrive *listed = driveOfRoot(root);
    const std::shared_ptr<const FakeDrive> drive = listed ? look(*listed) : nullptr;
    if (!drive || !drive->ready || drive->volumeQueryFails)
        return std::nullopt;
    return VolumeInformation{drive->label, drive->serial, drive->fileSystem};
}

std::optional<QString> FakeDrives::remoteName(const QString &localName)
{
    if (localName.size() != 2 || !hasDrivePrefix(localName))
        return std::nullopt;
    const FakeDrive *drive = m_machine.drive(localName.at(0));
    return drive ? drive->remoteName : std::nullopt;
}

std::optional<quint64> FakeDrives::totalBytes(const QString &root)
{
    const FakeDrive *listed = driveOfRoot(root);
    const std::shared_ptr<const FakeDrive> drive = listed ? look(*listed) : nullptr;
    if (!drive || !drive->ready)
        return std::nullopt;
    return drive->totalBytes;
}

std::optional<quint64> FakeDrives::freeBytesForCaller(const QString &root)
{
    const FakeDrive *listed = driveOfRoot(root);
    const std::shared_ptr<const FakeDrive> drive = listed ? look(*listed) : nullptr;
    if (!drive || !drive->ready)
        return std::nullopt;
    return drive->freeBytes;
}

std::optional<DriveLocation> FakeDrives::location(const QString &root)
{
    const FakeDrive *drive = driveOfRoot(root);
    if (!drive)
        return std::nullopt;
    const QString device = drive->device.isEmpty() ? drive->remoteName.value_or(QString()) : drive->device;
    return DriveLocation{drive->mountPoint.value_or(QString(drive->letter) + u":\\"_s), device};
}

void FakeDrives::watchDrives(QObject *context, std::function<void()> changed)
{
    m_watchers.append({context, std::move(changed)});
}

void FakeDrives::drivesChanged()
{
    for (const Watcher &watcher : std::as_const(m_watchers))
        if (watcher.context)
            QMetaObject::invokeMethod(watcher.context, watcher.changed, Qt::QueuedConnection);
}

QString FakeDrives::currentDirectory()
{
    const QString &current = m_machine.currentDirectory;
    if (!hasDrivePrefix(current) && !m_networkDirectories.contains(current))
        m_networkDirectories.append(current);
    return current;
}

bool FakeDrives::setCurrentDirectory(const QString &path)
{
    if (!hasDrivePrefix(path)) {
        // A network path: only those the program has been in exist on the fake machine.
        if (path != m_machine.currentDirectory && !m_networkDirectories.contains(path))
            return false;
        if (hasDrivePrefix(m_machine.currentDirectory))
            m_machine.driveDirectories.insert(m_machine.currentDirectory.at(0).toUpper(), m_machine.currentDirectory);
        m_machine.currentDirectory = path;
        return true;
    }
    const QChar letter = path.at(0).toUpper();
    const FakeDrive *listed = m_machine.drive(letter);
    const std::shared_ptr<const FakeDrive> drive = listed ? look(*listed) : nullptr;
    if (!drive || !drive->ready)
        return false;
    if (hasDrivePrefix(m_machine.currentDirectory))
        m_machine.driveDirectories.insert(m_machine.currentDirectory.at(0).toUpper(), m_machine.currentDirectory);
    if (path.size() == 2)
        m_machine.currentDirectory = m_machine.driveDirectories.value(letter, QString(letter) + u":\\"_s);
    else
        m_machine.currentDirectory = QString(letter) + path.mid(1);
    m_machine.driveDirectories.insert(letter, m_machine.currentDirectory);
    return true;
}
