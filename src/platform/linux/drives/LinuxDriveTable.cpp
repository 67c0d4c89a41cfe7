// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxDriveTable.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr int RootLetter = 2; // C; A and B stay for floppy drives
constexpr int FirstOtherLetter = 3; // D

// These tables are plain views of static text: the mount watch may still be reading them on
// its own thread while the process exits, after every destructor of static objects has run.

// Kernel and user-space file systems that hold no user data.
constexpr std::array<QStringView, 27> PseudoFileSystems{
    u"proc",    u"sysfs",       u"devtmpfs",        u"devpts",      u"cgroup",     u"cgroup2",       u"securityfs",
    u"debugfs", u"tracefs",     u"pstore",          u"bpf",         u"mqueue",     u"hugetlbfs",     u"configfs",
    u"fusectl", u"binfmt_misc", u"autofs",          u"efivarfs",    u"nsfs",       u"squashfs",      u"rpc_pipefs",
    u"nfsd",    u"selinuxfs",   u"fuse.gvfsd-fuse", u"fuse.portal", u"fuse.lxcfs", u"fuse.snapfuse",
};

constexpr std::array<QStringView, 10> NetworkFileSystems{
    u"nfs", u"nfs4", u"cifs", u"smb3", u"smbfs", u"fuse.sshfs", u"9p", u"ceph", u"glusterfs", u"fuse.glusterfs"};

// Where the system keeps its own memory file systems (run-time state, /dev, /tmp).
constexpr std::array<QStringView, 8> SystemMemoryDirectories{u"/dev", u"/run",     u"/sys",     u"/proc",
                                                             u"/tmp", u"/var/tmp", u"/var/run", u"/var/lock"};

bool isOneOf(const auto &names, const QString &name)
{
    return std::ranges::find(names, QStringView(name)) != names.end();
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
    if (isOneOf(PseudoFileSystems, mount.fileSystemType))
        return false;
    // Below the root, overlays are container engines' layers.
    if (mount.fileSystemType == u"overlay"_s)
        return false;
    if (isMemoryFileSystem(mount.fileSystemType))
        for (const QStringView directory : SystemMemoryDirectories)
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

bool LinuxDriveTable::isUnder(const QString &path, QStringView directory)
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
    if (isOneOf(NetworkFileSystems, mount.fileSystemType))
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
