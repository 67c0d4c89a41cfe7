#pragma once

#include <QString>

#include "platform/DriveSource.h"

class LinuxDrives final : public DriveSource
{
public:
    // rootDirectory stands for "/" when reading system files.
    explicit LinuxDrives(QString rootDirectory);

    quint32 logicalDrives() override;
    DriveType driveType(const QString &root) override;
    std::optional<VolumeInformation> volumeInformation(const QString &root) override;
    std::optional<QString> remoteName(const QString &localName) override;
    std::optional<quint64> totalBytes() override;
    std::optional<quint64> freeBytesForCaller() override;
    QString currentDirectory() override;
    bool setCurrentDirectory(const QString &path) override;

private:
    QString m_root;
};
