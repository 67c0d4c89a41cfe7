// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxDriveLook.h"

#include "LinuxVolumeIds.h"

#include <QFile>
#include <QScopeGuard>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The name udev gives the drive's device in one of its /dev/disk/by-* directories.
std::optional<QString> udevName(LinuxUdevLinks &links, const LinuxDrive &drive, const QString &prefix)
{
    if (!drive.mount.source.startsWith(u"/dev/"_s))
        return std::nullopt; // no device behind it
    return links.nameOf(prefix + drive.mount.source);
}

// The label from the file system itself, opened only for the question.
QString fileSystemLabel(const QByteArray &mountPoint)
{
    const int directory = ::open(mountPoint.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    const auto closer = qScopeGuard([directory] {
        if (directory >= 0)
            ::close(directory);
    });
    char label[FSLABEL_MAX] = {};
    if (directory < 0 || ::ioctl(directory, FS_IOC_GETFSLABEL, label) != 0)
        return {};
    return QString::fromUtf8(label, qstrnlen(label, sizeof label));
}

// As entering it would judge: a directory this process may search.
bool isEnterable(const QByteArray &path)
{
    struct stat about
    { };
    return ::stat(path.constData(), &about) == 0 && S_ISDIR(about.st_mode)
        && ::faccessat(AT_FDCWD, path.constData(), X_OK, AT_EACCESS) == 0;
}

} // namespace

LinuxDriveLook::UdevNames::UdevNames(const QString &prefix)
    : labels(prefix + u"/dev/disk/by-label"_s)
    , uuids(prefix + u"/dev/disk/by-uuid"_s)
{
}

LinuxDriveLook LinuxDriveLook::lookAt(const LinuxDrive &drive, const QString &prefix, const QString &directory,
                                      UdevNames &udev)
{
    LinuxDriveLook look;
    look.directory = directory;
    look.mayEnter = !directory.isEmpty() && isEnterable(QFile::encodeName(prefix + directory));
    // statvfs needs no way into the mount point, so a drive the user may not enter still has its sizes.
    const QByteArray mountPoint = QFile::encodeName(prefix + drive.mount.mountPoint);
    struct statvfs volume
    { };
    if (::statvfs(mountPoint.constData(), &volume) != 0)
        return look;
    look.totalBytes = quint64(volume.f_blocks) * volume.f_frsize;
    // f_bavail, not f_bfree: blocks reserved for root are not the caller's.
    look.freeBytesForCaller = quint64(volume.f_bavail) * volume.f_frsize;
    std::optional<QString> label;
    std::optional<QString> uuid;
    {
        const std::lock_guard lock(udev.mutex);
        label = udevName(udev.labels, drive, prefix);
        uuid = udevName(udev.uuids, drive, prefix);
    }
    if (!label && drive.type != DriveType::Remote)
        label = fileSystemLabel(mountPoint);
    const std::optional<quint32> serial = uuid ? LinuxVolumeIds::serialFromUuid(*uuid) : std::nullopt;
    look.volume = VolumeInformation{label.value_or(QString()), serial.value_or(quint32(volume.f_fsid & 0xFFFFFFFFu)),
                                    drive.mount.fileSystemType};
    return look;
}
