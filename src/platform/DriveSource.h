// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class QObject;

enum class DriveType : quint32 {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// A text as a system buffer hands it over: up to its first zero character.
inline QString textUntilZero(const QString &text)
{
    const qsizetype zero = text.indexOf(QChar(u'\0'));
    return zero < 0 ? text : text.left(zero);
}

// Where a drive comes from and where the system mounts it, for reports.
struct DriveLocation
{
    QString mountPoint; // "/home"; the root itself where drives have no mount points
    QString device; // "/dev/sda2", "//server/share", "tmpfs"; empty when unknown
};

struct VolumeInformation
{
    QString volumeName;
    quint32 serialNumber = 0;
    QString fileSystemName;
};

// Where a drive is looked at on a worker thread, one look serves every
// question about it for this long: the disk page asks several times a tick.
inline constexpr std::chrono::milliseconds DriveLookFreshFor{200};

// Drives as the user knows them: letters A to Z, each with a root "X:\".
// Paths are presented in that form too ("D:\ann" for a directory ann on D).
class DriveSource
{
public:
    virtual ~DriveSource() = default;

    // Bit i set: drive letter 'A' + i is present.
    virtual quint32 logicalDrives() = 0;
    virtual DriveType driveType(const QString &root) = 0;
    // nullopt when the volume cannot be queried (no medium, unreadable).
    virtual std::optional<VolumeInformation> volumeInformation(const QString &root) = 0;
    // The remote name of a network drive ("D:" -> "//server/share"); nullopt when it has none.
    virtual std::optional<QString> remoteName(const QString &localName) = 0;

    // Sizes of the drive with this root ("D:\\"), whether or not it is the current
    // drive; nullopt when the query fails (no medium, not ready, gone).
    virtual std::optional<quint64> totalBytes(const QString &root) = 0;
    virtual std::optional<quint64> freeBytesForCaller(const QString &root) = 0;
    // nullopt when the root names no drive.
    virtual std::optional<DriveLocation> location(const QString &root) = 0;

    // Asks to be told when drives may have come or gone (a mount or an unmount):
    // changed runs on the thread of context, and not after context is destroyed.
    // A source that cannot tell never calls it.
    // By value: a source that can tell keeps it.
    // NOLINTNEXTLINE(performance-unnecessary-value-param)
    virtual void watchDrives(QObject * /*context*/, std::function<void()> /*changed*/) { }

    virtual QString currentDirectory() = 0;
    // "X:" enters the directory last entered on drive X (at first its root);
    // a full path enters that directory. False when the drive or directory cannot be entered.
    virtual bool setCurrentDirectory(const QString &path) = 0;
};
