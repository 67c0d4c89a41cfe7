// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MemorySource.h"

struct FakeMachine;

class FakeMemory final : public MemorySource
{
public:
    explicit FakeMemory(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    MemoryStatus globalMemoryStatus() override;

private:
    FakeMachine &m_machine;
};
