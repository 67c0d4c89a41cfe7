// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinuxDriveTable.h"
#include "LinuxUdevLinks.h"
#include "platform/DriveSource.h"

#include <QString>

#include <mutex>
#include <optional>

// What one look at a mounted drive finds: its volume, its sizes and whether a
// directory on it may be entered. Made on a worker thread, which has a mount
// probe (MountProbes) ask the drive's own file system: that can block for as
// long as the kernel waits, and only the probe waits with it.
struct LinuxDriveLook
{
    // udev's names of devices, shared by the workers of every drive.
    struct UdevNames
    {
        explicit UdevNames(const QString &prefix);

        std::mutex mutex;
        LinuxUdevLinks labels;
        LinuxUdevLinks uuids;
    };

    // prefix: the tree standing for "/", without its trailing slash ("" for "/");
    // directory: a system path on the drive, or empty for none.
    static LinuxDriveLook lookAt(const LinuxDrive &drive, const QString &prefix, const QString &directory,
                                 UdevNames &udev);

    std::optional<VolumeInformation> volume; // nullopt: the volume cannot be queried
    std::optional<quint64> totalBytes;
    std::optional<quint64> freeBytesForCaller;
    QString directory; // the directory asked about
    bool mayEnter = false; // whether the program may make it its current directory
};
