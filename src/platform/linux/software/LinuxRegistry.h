// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <memory>

#include "platform/QueryPatience.h"
#include "platform/RegistrySource.h"

struct InstalledProgram;
class InstalledProgramIndex;
class InstalledPrograms;
class RpmQuery;

// Presents the installed packages as the Uninstall key: one sub-key per
// program with its DisplayName and UninstallString (NoRemove instead of the
// command for a package the system needs). Every other key is missing.
class LinuxRegistry final : public RegistrySource
{
public:
    // rootDirectory stands for "/" when reading system files; patience says
    // whether a reading waits for rpm's programs (up to patience.wait) or
    // lists them once rpm has answered.
    explicit LinuxRegistry(QString rootDirectory, QueryPatience patience = QueryPatience::window());
    ~LinuxRegistry() override;

    std::unique_ptr<RegistryKey> openKey(const QString &path) override;
    // The Uninstall key changes once, when rpm has listed its packages.
    void notifyChangeKey(const QString &path, const std::function<void()> &changed) override;
    // The programs are gathered by the thread that first reads the copy; rpm is asked from the first copy on.
    std::shared_ptr<RegistrySource> snapshot() override;

private:
    // The programs as they are now, serving the keys opened until the event
    // loop's next pass: a fill opens the Uninstall key and then every program's
    // key within one handler, and after it the list is the list view's alone.
    // rpm's programs join them once rpm has answered.
    std::shared_ptr<const InstalledProgramIndex> readPrograms();
    // Starts rpm's listing once, on a system with an rpm database.
    void askRpmWhereItKeepsPackages(const InstalledPrograms &sources);
    // rpm's programs, once it has answered; notes receives what is missing and why.
    QList<InstalledProgram> rpmAnswer(QStringList &notes) const;
    void rpmAnswered();

    QString m_root;
    QueryPatience m_patience;
    std::weak_ptr<const InstalledProgramIndex> m_programs;
    // Without an event loop there is no next pass: the last reading stays.
    std::shared_ptr<const InstalledProgramIndex> m_keptPrograms;
    std::unique_ptr<RpmQuery> m_rpm;
    QList<std::function<void()>> m_uninstallKeyWatchers;
};
