#pragma once

#include "platform/MemorySource.h"

class LinuxMemory final : public MemorySource
{
public:
    MemoryStatus globalMemoryStatus() override;
};
