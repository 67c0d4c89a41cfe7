// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

#include "platform/ServiceSource.h"

// Services from systemd's unit files, or from /etc/init.d where there are none.
class LinuxServices final : public ServiceSource
{
public:
    // rootDirectory stands for "/" when reading system files.
    explicit LinuxServices(QString rootDirectory);

    std::unique_ptr<ServiceManager> openManager(quint32 access) override;

private:
    std::optional<QList<ServiceEntry>> initScripts() const;

    QString m_root;
};
