#pragma once

#include "platform/ServiceSource.h"

class LinuxServices final : public ServiceSource
{
public:
    std::unique_ptr<ServiceManager> openManager(quint32 access) override;
};
