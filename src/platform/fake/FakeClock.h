// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ClockSource.h"

struct FakeMachine;

class FakeClock final : public ClockSource
{
public:
    explicit FakeClock(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    quint64 tickCount() override;

private:
    FakeMachine &m_machine;
};
