#pragma once

#include "platform/DriveSource.h"

#include <QStringList>

struct FakeDrive;
struct FakeMachine;

class FakeDrives final : public DriveSource
{
public:
    explicit FakeDrives(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    quint32 logicalDrives() override;
    DriveType driveType(const QString &root) override;
    std::optional<VolumeInformation> volumeInformation(const QString &root) override;
    std::optional<QString> remoteName(const QString &localName) override;
    std::optional<quint64> totalBytes() override;
    std::optional<quint64> freeBytesForCaller() override;
    std::optional<quint64> totalBytes(const QString &root) override;
    std::optional<quint64> freeBytesForCaller(const QString &root) override;
    std::optional<DriveLocation> location(const QString &root) override;
    QString currentDirectory() override;
    bool setCurrentDirectory(const QString &path) override;

private:
    const FakeDrive *driveOfRoot(const QString &root) const;
    const FakeDrive *currentDrive() const;

    FakeMachine &m_machine;
    QStringList m_networkDirectories; // paths without a drive letter the program has been in
};
