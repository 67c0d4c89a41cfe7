// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CpuidSource.h"

struct FakeMachine;

class FakeCpuid final : public CpuidSource
{
public:
    explicit FakeCpuid(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    bool hasCpuid() const override;
    CpuidRegisters cpuid(quint32 leaf) const override;

private:
    FakeMachine &m_machine;
};
