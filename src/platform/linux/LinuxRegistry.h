#pragma once

#include <QString>

#include <memory>

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
    // The programs as they are now, serving the keys opened until the event
    // loop's next pass: a fill opens the Uninstall key and then every program's
    // key within one handler, and after it the list is the list view's alone.
    std::shared_ptr<const InstalledProgramIndex> readPrograms();

    QString m_root;
    std::weak_ptr<const InstalledProgramIndex> m_programs;
    // Without an event loop there is no next pass: the last reading stays.
    std::shared_ptr<const InstalledProgramIndex> m_keptPrograms;
};
