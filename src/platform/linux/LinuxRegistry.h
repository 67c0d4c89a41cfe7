#pragma once

#include <QString>

#include "platform/RegistrySource.h"

struct InstalledProgram;
class InstalledProgramIndex;

// Presents the installed packages as the Uninstall key: one sub-key per
// program with its DisplayName and UninstallString. Every other key is missing.
class LinuxRegistry final : public RegistrySource
{
public:
    // rootDirectory stands for "/" when reading system files.
    explicit LinuxRegistry(QString rootDirectory);
    ~LinuxRegistry() override;

    std::unique_ptr<RegistryKey> openKey(const QString &path) override;

private:
    QString m_root;
    // Read when the Uninstall key opens, so that opening its sub-keys reads nothing again.
    std::shared_ptr<const InstalledProgramIndex> m_programs;
};
