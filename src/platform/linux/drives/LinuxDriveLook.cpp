// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxDriveLook.h"

#include "LinuxVolumeIds.h"
#include "MountProbes.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// The name udev gives the drive's device in one of its /dev/disk/by-* directories.
std::optional<QString> udevName(LinuxUdevLinks &links, const LinuxDrive &drive, const QString &prefix)
{
    if (!drive.mount.source.startsWith(u"/dev/"_s))
        return std::nullopt; // no device behind it
    return links.nameOf(prefix + drive.mount.source);
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
    std::optional<QString> label;
    std::optional<QString> uuid;
    {
        const std::lock_guard lock(udev.mutex);
        label = udevName(udev.labels, drive, prefix);
        uuid = udevName(udev.uuids, drive, prefix);
    }
    MountProbeRequest request;
    if (!label && drive.type != DriveType::Remote)
        request.flags |= MountProbeRequest::WantLabel;
    // Asked by a probe process: a file system that never answers holds the probe, not this process.
    // statfs needs no way into the mount point, so a drive the user may not enter still has its sizes.
    const QByteArray mountPoint = QFile::encodeName(prefix + drive.mount.mountPoint);
    const std::optional<MountProbeReply> reply = MountProbes::instance().ask(
        mountPoint, request, mountPoint, directory.isEmpty() ? QByteArray() : QFile::encodeName(prefix + directory),
        MountProbes::Clock::time_point::max(), true);
    LinuxDriveLook look;
    look.directory = directory;
    if (!reply)
        return look;
    look.mayEnter = reply->mayEnter != 0;
    if (!reply->sizesKnown)
        return look;
    look.totalBytes = reply->totalBytes;
    look.freeBytesForCaller = reply->freeBytesForCaller;
    if (!label && reply->labelKnown)
        label = QString::fromUtf8(reply->label, qstrnlen(reply->label, sizeof reply->label));
    const std::optional<quint32> serial = uuid ? LinuxVolumeIds::serialFromUuid(*uuid) : std::nullopt;
    look.volume = VolumeInformation{label.value_or(QString()), serial.value_or(quint32(reply->fileSystemId)),
                                    drive.mount.fileSystemType};
    return look;
}
