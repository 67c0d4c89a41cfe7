// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeMachine.h"
#include "platform/BackgroundQuery.h"
#include "platform/DriveSource.h"
#include "platform/QueryPatience.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

// The fixture's drives. Where the fixture makes them slow, every look at a
// drive's volume goes through a worker as on a real machine, and answers as
// the Linux drives answer a slow file system.
class FakeDrives final : public DriveSource
{
public:
    explicit FakeDrives(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    quint32 logicalDrives() override;
    DriveType driveType(const QString &root) override;
    std::optional<VolumeInformation> volumeInformation(const QString &root) override;
    std::optional<QString> remoteName(const QString &localName) override;
    std::optional<quint64> totalBytes(const QString &root) override;
    std::optional<quint64> freeBytesForCaller(const QString &root) override;
    std::optional<DriveLocation> location(const QString &root) override;
    void watchDrives(QObject *context, std::function<void()> changed) override;
    QString currentDirectory() override;
    bool setCurrentDirectory(const QString &path) override;

    // Tells the watchers that the machine's drives have changed, on their threads and
    // after the running handler, as a real machine's mount table tells of a change.
    void drivesChanged();

private:
    struct Watcher
    {
        QPointer<QObject> context;
        std::function<void()> changed;
    };

    const FakeDrive *driveOfRoot(const QString &root) const;
    // The drive as a look at its volume finds it: at once, or after the
    // fixture's delay; nullptr when no look has answered in time.
    std::shared_ptr<const FakeDrive> look(const FakeDrive &drive);

    FakeMachine &m_machine;
    QStringList m_networkDirectories; // paths without a drive letter the program has been in
    std::map<QChar, std::unique_ptr<BackgroundQuery<FakeDrive>>> m_looks; // by letter, for slow drives
    QList<Watcher> m_watchers;
};
