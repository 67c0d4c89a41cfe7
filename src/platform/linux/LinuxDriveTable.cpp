// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxDriveTable.h"

#include <QSet>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int RootLetter = 2; // C; A and B stay for floppy drives
constexpr int FirstOtherLetter = 3; // D

// Kernel and user-space file systems that hold no user data.
const QSet<QString> &pseudoFileSystems()
{
    static const QSet<QString> types{
        u"proc"_s,        u"sysfs"_s,      u"devtmpfs"_s,      u"devpts"_s,      u"cgroup"_s,    u"cgroup2"_s,
        u"securityfs"_s,  u"debugfs"_s,    u"tracefs"_s,       u"pstore"_s,      u"bpf"_s,       u"mqueue"_s,
        u"hugetlbfs"_s,   u"configfs"_s,   u"fusectl"_s,       u"binfmt_misc"_s, u"autofs"_s,    u"efivarfs"_s,
        u"nsfs"_s,        u"squashfs"_s,   u"rpc_pipefs"_s,    u"nfsd"_s,        u"selinuxfs"_s, u"fuse.gvfsd-fuse"_s,
        u"fuse.portal"_s, u"fuse.lxcfs"_s, u"fuse.snapfuse"_s,
    };
    return types;
}

const QSet<QString> &networkFileSystems()
{
    static const QSet<QString> types{u"nfs"_s,        u"nfs4"_s, u"cifs"_s, u"smb3"_s,      u"smbfs"_s,
                                     u"fuse.sshfs"_s, u"9p"_s,   u"ceph"_s, u"glusterfs"_s, u"fuse.glusterfs"_s};
    return types;
}

// Where the system keeps its own memory file systems (run-time state, /dev, /tmp).
const QStringList &systemMemoryDirectories()
{
    static const QStringList directories{u"/dev"_s, u"/run"_s,     u"/sys"_s,     u"/proc"_s,
                                         u"/tmp"_s, u"/var/tmp"_s, u"/var/run"_s, u"/var/lock"_s};
    return directories;
}

bool isMemoryFileSystem(const QString &type)
{
    return type == u"tmpfs"_s || type == u"ramfs"_s;
}

QString deviceName(const MountEntry &mount)
{
    return mount.source.startsWith(u"/dev/"_s) ? mount.source.section(u'/', -1) : QString();
}

quint64 deviceNumber(const MountEntry &mount)
{
    return quint64(mount.major) << 32 | mount.minor;
}

// A mount of the root file system's tree, a device or a share the user would call a drive.
bool isDriveMount(const MountEntry &mount, const LinuxDriveTable::Probe &probe)
{
    if (pseudoFileSystems().contains(mount.fileSystemType))
        return false;
    // Below the root, overlays are container engines' layers.
    if (mount.fileSystemType == u"overlay"_s)
        return false;
    if (isMemoryFileSystem(mount.fileSystemType))
        for (const QString &directory : systemMemoryDirectories())
            if (LinuxDriveTable::isUnder(mount.mountPoint, directory))
                return false;
    // Containers bind single files (/etc/hosts) into place; only directories are drives.
    return mount.root == u"/"_s || probe.isDirectory(mount.mountPoint);
}

// Of several mounts at one place only the last one is visible. One pass from
// the end, keyed by mount point: a table can hold tens of thousands of mounts.
QList<MountEntry> visibleMounts(const QList<MountEntry> &mounts)
{
    QSet<QString> placesTaken;
    placesTaken.reserve(mounts.size());
    QList<MountEntry> visible;
    visible.reserve(mounts.size());
    for (qsizetype i = mounts.size() - 1; i >= 0; --i)
        if (!placesTaken.contains(mounts.at(i).mountPoint)) {
            placesTaken.insert(mounts.at(i).mountPoint);
            visible.append(mounts.at(i));
        }
    std::reverse(visible.begin(), visible.end());
    return visible;
}

} // namespace

bool LinuxDriveTable::isUnder(const QString &path, const QString &directory)
{
    if (directory == u"/"_s)
        return path.startsWith(u'/');
    return path == directory || (path.startsWith(directory) && path.at(directory.size()) == u'/');
}

DriveType LinuxDriveTable::typeOf(const MountEntry &mount, bool removable)
{
    const QString device = deviceName(mount);
    if (device.startsWith(u"sr"_s) || mount.fileSystemType == u"iso9660"_s || mount.fileSystemType == u"udf"_s)
        return DriveType::CdRom;
    if (removable)
        return DriveType::Removable;
    if (networkFileSystems().contains(mount.fileSystemType))
        return DriveType::Remote;
    if (isMemoryFileSystem(mount.fileSystemType) || device.startsWith(u"zram"_s))
        return DriveType::RamDisk;
    return DriveType::Fixed;
}

void LinuxDriveTable::update(const QList<MountEntry> &mounts, const Probe &probe)
{
    QList<MountEntry> chosen;
    QSet<quint64> devices;
    const QList<MountEntry> visible = visibleMounts(mounts);
    for (const MountEntry &mount : visible)
        if (mount.mountPoint == u"/"_s) {
            chosen.append(mount);
            devices.insert(deviceNumber(mount));
        }
    for (const MountEntry &mount : visible)
        if (mount.mountPoint != u"/"_s && !devices.contains(deviceNumber(mount)) && isDriveMount(mount, probe)) {
            chosen.append(mount);
            devices.insert(deviceNumber(mount));
        }

    const auto newDrive = [&probe](int letter, const MountEntry &mount) {
        const bool removable = mount.major != 0 && probe.isRemovable(mount.major, mount.minor);
        return LinuxDrive{QChar(u'A' + letter), mount, typeOf(mount, removable)};
    };
    const auto previousLetter = [this](const MountEntry &mount) {
        for (int letter = 0; letter < LetterCount; ++letter)
            if (m_byLetter.at(letter) && m_byLetter.at(letter)->mount == mount)
                return letter;
        return -1;
    };

    std::array<std::optional<LinuxDrive>, LetterCount> next;
    QList<MountEntry> unlettered;
    for (const MountEntry &mount : std::as_const(chosen)) {
        const int letter = previousLetter(mount);
        if (letter >= 0)
            next.at(letter) = m_byLetter.at(letter);
        else if (mount.mountPoint == u"/"_s)
            next.at(RootLetter) = newDrive(RootLetter, mount);
        else
            unlettered.append(mount);
    }
    int letter = FirstOtherLetter;
    for (const MountEntry &mount : std::as_const(unlettered)) {
        while (letter < LetterCount && next.at(letter))
            ++letter;
        if (letter == LetterCount)
            break; // Z is the last letter
        next.at(letter) = newDrive(letter, mount);
    }
    m_byLetter = std::move(next);
}

const LinuxDrive *LinuxDriveTable::drive(QChar letter) const
{
    const int index = letter.toUpper().unicode() - u'A';
    return index >= 0 && index < LetterCount && m_byLetter.at(index) ? &*m_byLetter.at(index) : nullptr;
}

const LinuxDrive *LinuxDriveTable::driveHolding(const QString &path) const
{
    const LinuxDrive *holder = nullptr;
    for (const std::optional<LinuxDrive> &drive : m_byLetter)
        if (drive && isUnder(path, drive->mount.mountPoint)
            && (!holder || drive->mount.mountPoint.size() > holder->mount.mountPoint.size()))
            holder = &*drive;
    return holder;
}

quint32 LinuxDriveTable::letterMask() const
{
    quint32 mask = 0;
    for (int i = 0; i < LetterCount; ++i)
        if (m_byLetter.at(i))
            mask |= 1u << i;
    return mask;
}

QList<LinuxDrive> LinuxDriveTable::drives() const
{
    QList<LinuxDrive> drives;
    for (const std::optional<LinuxDrive> &drive : m_byLetter)
        if (drive)
            drives.append(*drive);
    return drives;
}
