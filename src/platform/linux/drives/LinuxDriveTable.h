// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MountInfoParser.h"
#include "platform/DriveSource.h"

#include <QList>

#include <array>
#include <functional>
#include <optional>

struct LinuxDrive
{
    QChar letter; // 'C' to 'Z'
    MountEntry mount;
    DriveType type = DriveType::Fixed;

    bool operator==(const LinuxDrive &) const = default;
};

// The drives a user would call drives, picked from the mount table and given
// letters: the root file system is C, the others take D to Z in mount order.
class LinuxDriveTable
{
public:
    // What the table needs to know about a mount beyond the mount table.
    struct Probe
    {
        std::function<bool(const QString &mountPoint)> isDirectory;
        std::function<bool(quint32 major, quint32 minor)> isRemovable;
    };

    // Takes the drives of a newly read mount table. A drive still mounted keeps
    // its letter; new ones take the first free letters, in mount order.
    void update(const QList<MountEntry> &mounts, const Probe &probe);

    const LinuxDrive *drive(QChar letter) const;
    // The drive whose mount point holds the path (the longest such mount point).
    const LinuxDrive *driveHolding(const QString &path) const;
    // Bit i set: letter 'A' + i is a drive.
    quint32 letterMask() const;
    QList<LinuxDrive> drives() const;

    static bool isUnder(const QString &path, QStringView directory);
    static DriveType typeOf(const MountEntry &mount, bool removable);

private:
    static constexpr int LetterCount = 26;

    std::array<std::optional<LinuxDrive>, LetterCount> m_byLetter;
};
