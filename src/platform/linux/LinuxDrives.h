#pragma once

#include "LinuxDriveTable.h"
#include "platform/DriveSource.h"

#include <QHash>
#include <QMap>
#include <QString>

#include <memory>

#include <sys/stat.h>

class LinuxUdevLinks;

// Drives from the mount table: root C, the others D to Z; paths presented as
// "D:\ann" for /home/ann on D mounted at /home.
class LinuxDrives final : public DriveSource
{
public:
    // rootDirectory stands for "/" when reading system files and entering directories.
    explicit LinuxDrives(QString rootDirectory);
    ~LinuxDrives() override;
    LinuxDrives(const LinuxDrives &) = delete;
    LinuxDrives &operator=(const LinuxDrives &) = delete;

    quint32 logicalDrives() override;
    DriveType driveType(const QString &root) override;
    std::optional<VolumeInformation> volumeInformation(const QString &root) override;
    std::optional<QString> remoteName(const QString &localName) override;
    std::optional<quint64> totalBytes() override;
    std::optional<quint64> freeBytesForCaller() override;
    QString currentDirectory() override;
    bool setCurrentDirectory(const QString &path) override;

private:
    // Re-reads the mount table when it has changed since it was last read.
    void refreshMounts();
    bool mountTableChanged();
    // Keeps the table as it is until the event loop has finished the running handler.
    void holdTableForThisPass();
    QByteArray readMountTable();
    LinuxDriveTable::Probe probe() const;
    bool isDirectory(const QString &mountPoint) const;
    bool isRemovable(quint32 major, quint32 minor) const;

    const LinuxDrive *driveOfRoot(const QString &root);
    QString volumeLabel(const LinuxDrive &drive);
    std::optional<quint32> udevSerial(const LinuxDrive &drive);
    // The name udev gives the drive's device in one of its /dev/disk/by-* directories.
    std::optional<QString> udevName(LinuxUdevLinks &links, const LinuxDrive &drive) const;

    // Paths as the user sees them ("D:\ann") and as the system does (/home/ann).
    QString present(const QString &path);
    std::optional<QString> systemPath(const QString &presented) const;
    std::optional<QString> systemCurrentDirectory() const;
    void rememberCurrentDirectory();
    QByteArray onDisk(const QString &path) const;

    QString m_root;
    QString m_prefix; // m_root without its trailing slash; empty for "/"
    LinuxDriveTable m_table;
    // Set from a rebuild until the event loop's next pass; shared with the call that clears it.
    std::shared_ptr<bool> m_readThisPass = std::make_shared<bool>(false);
    int m_mountTableFd = -1; // the kernel's table, which reports changes through poll
    struct stat m_mountTableStat
    { }; // a plain file's table, which changes with its stat
    std::unique_ptr<LinuxUdevLinks> m_labels;
    std::unique_ptr<LinuxUdevLinks> m_uuids;
    QMap<QChar, QString> m_driveDirectories; // the directory last entered on each drive
    QHash<QString, QString> m_presented; // presented paths handed out, back to system paths
};
