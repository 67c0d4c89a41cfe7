#pragma once

#include "platform/ClockSource.h"

class LinuxClock final : public ClockSource
{
public:
    quint64 tickCount() override;
};
