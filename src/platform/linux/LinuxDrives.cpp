#include "LinuxDrives.h"

LinuxDrives::LinuxDrives(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

quint32 LinuxDrives::logicalDrives() { return 0; }
DriveType LinuxDrives::driveType(const QString &) { return DriveType::NoRootDir; }
std::optional<VolumeInformation> LinuxDrives::volumeInformation(const QString &) { return std::nullopt; }
std::optional<QString> LinuxDrives::remoteName(const QString &) { return std::nullopt; }
std::optional<quint64> LinuxDrives::totalBytes() { return std::nullopt; }
std::optional<quint64> LinuxDrives::freeBytesForCaller() { return std::nullopt; }
QString LinuxDrives::currentDirectory() { return {}; }
bool LinuxDrives::setCurrentDirectory(const QString &) { return false; }
