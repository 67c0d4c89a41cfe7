// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinuxDriveLook.h"
#include "LinuxDriveTable.h"
#include "LinuxMountTable.h"
#include "platform/BackgroundQuery.h"
#include "platform/DriveSource.h"
#include "platform/QueryPatience.h"

#include <QHash>
#include <QMap>
#include <QString>

#include <map>
#include <memory>

// Drives from the mount table: root C, the others D to Z; paths presented as
// "D:\ann" for /home/ann on D mounted at /home.
//
// The drives come from a table built off the asking thread (LinuxMountTable).
// Everything that asks a mounted file system itself (its sizes, label and
// serial, whether a directory on it may be entered) is asked on a worker
// thread per drive, through a mount probe process (MountProbes), so a hung
// share or a dying disk never holds up the window nor keeps the program from
// ending: each question is answered from the newest look at the drive, which
// may be a moment old, and a drive whose look has hung for two seconds
// answers as one that fails.
// The current directory is the program's own: the process never enters a
// drive, so none is held busy against unmounting.
class LinuxDrives final : public DriveSource
{
public:
    // rootDirectory stands for "/" when reading system files and looking at
    // drives; patience says how long a question waits for a look it starts.
    explicit LinuxDrives(QString rootDirectory, QueryPatience patience = QueryPatience::window());
    ~LinuxDrives() override;
    LinuxDrives(const LinuxDrives &) = delete;
    LinuxDrives &operator=(const LinuxDrives &) = delete;

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

private:
    // Takes the newest drive table, unless the running handler holds one.
    void refreshMounts();
    // Keeps the table as it is until the event loop has finished the running handler.
    void holdTableForThisPass();
    const LinuxDriveTable &table() const { return *m_table; }

    const LinuxDrive *driveOfRoot(const QString &root);
    // What a look at the drive found, with whether the directory may be
    // entered; nullptr when no look has answered in time.
    // Without wait, only starts a look that is due.
    std::shared_ptr<const LinuxDriveLook> look(const LinuxDrive &drive, const QString &directory, bool wait);
    std::shared_ptr<const LinuxDriveLook> look(const LinuxDrive &drive);
    void forgetLooksOfGoneDrives();
    bool mayEnter(const QString &path);

    // Paths as the user sees them ("D:\ann") and as the system does (/home/ann).
    QString present(const QString &path);
    std::optional<QString> systemPath(const QString &presented) const;
    std::optional<QString> processDirectory() const;
    std::optional<QString> systemCurrentDirectory();
    void rememberCurrentDirectory();
    QByteArray onDisk(const QString &path) const;

    QString m_root;
    QString m_prefix; // m_root without its trailing slash; empty for "/"
    QueryPatience m_patience;
    std::unique_ptr<LinuxMountTable> m_mounts;
    std::shared_ptr<const LinuxDriveTable> m_table = std::make_shared<const LinuxDriveTable>();
    bool m_tableTaken = false;
    // Set from taking a new table until the event loop's next pass; shared with the call that clears it.
    std::shared_ptr<bool> m_readThisPass = std::make_shared<bool>(false);
    std::shared_ptr<LinuxDriveLook::UdevNames> m_udev; // shared with the workers
    std::map<QString, std::unique_ptr<BackgroundQuery<LinuxDriveLook>>> m_looks; // by mount
    std::optional<std::optional<QString>> m_current; // the program's current directory, once read
    QMap<QChar, QString> m_driveDirectories; // the directory last entered on each drive
    QHash<QString, QString> m_presented; // presented paths handed out, back to system paths
};
