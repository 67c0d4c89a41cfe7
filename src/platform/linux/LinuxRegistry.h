#pragma once

#include <QString>

#include "platform/RegistrySource.h"

class LinuxRegistry final : public RegistrySource
{
public:
    // rootDirectory stands for "/" when reading system files.
    explicit LinuxRegistry(QString rootDirectory);

    std::unique_ptr<RegistryKey> openKey(const QString &path) override;

private:
    QString m_root;
};
