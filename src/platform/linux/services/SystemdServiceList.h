// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ServiceSource.h"

#include <QString>
#include <QStringList>

#include <optional>

// The services that systemd's unit files define under a root directory
// (the search path of systemd.unit(5)), read without a running systemd.
class SystemdServiceList
{
public:
    explicit SystemdServiceList(QString rootDirectory);

    // The display name of every service, ordered by unit name without regard to
    // case; nullopt when there is no unit directory at all.
    std::optional<QStringList> displayNames() const;
    // The same services with their unit names, in the same order.
    std::optional<QList<ServiceEntry>> services() const;

private:
    QString m_root;
};
