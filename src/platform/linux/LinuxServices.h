#pragma once

#include <QString>

#include "platform/ServiceSource.h"

class LinuxServices final : public ServiceSource
{
public:
    // rootDirectory stands for "/" when reading system files.
    explicit LinuxServices(QString rootDirectory);

    std::unique_ptr<ServiceManager> openManager(quint32 access) override;

private:
    QString m_root;
};
