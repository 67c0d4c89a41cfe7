// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ClockSource.h"

class LinuxClock final : public ClockSource
{
public:
    quint64 tickCount() override;
};
