#pragma once

#include <QList>
#include <QString>

#include "platform/RegistrySource.h"

struct InstalledProgram;
class InstalledProgramIndex;
class RpmQuery;

// Presents the installed packages as the Uninstall key: one sub-key per
// program with its DisplayName and UninstallString. Every other key is missing.
class LinuxRegistry final : public RegistrySource
{
public:
    // rootDirectory stands for "/" when reading system files.
    explicit LinuxRegistry(QString rootDirectory);
    ~LinuxRegistry() override;

    std::unique_ptr<RegistryKey> openKey(const QString &path) override;
    // The Uninstall key changes once, when rpm has listed its packages.
    void notifyChangeKey(const QString &path, const std::function<void()> &changed) override;

private:
    // The programs as now known; rpm's join them when it answers.
    std::shared_ptr<const InstalledProgramIndex> readPrograms();
    void rpmAnswered();

    QString m_root;
    // Read when the Uninstall key opens, so that opening its sub-keys reads nothing again.
    std::shared_ptr<const InstalledProgramIndex> m_programs;
    std::unique_ptr<RpmQuery> m_rpm;
    QList<std::function<void()>> m_uninstallKeyWatchers;
};
