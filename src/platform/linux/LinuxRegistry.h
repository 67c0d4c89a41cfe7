#pragma once

#include "platform/RegistrySource.h"

class LinuxRegistry final : public RegistrySource
{
public:
    std::unique_ptr<RegistryKey> openKey(const QString &path) override;
};
