#pragma once

#include "platform/DriveSource.h"

class LinuxDrives final : public DriveSource
{
public:
    quint32 logicalDrives() override;
    DriveType driveType(const QString &root) override;
    std::optional<VolumeInformation> volumeInformation(const QString &root) override;
    std::optional<QString> remoteName(const QString &localName) override;
    std::optional<quint64> totalBytes() override;
    std::optional<quint64> freeBytesForCaller() override;
    QString currentDirectory() override;
    bool setCurrentDirectory(const QString &path) override;
};
