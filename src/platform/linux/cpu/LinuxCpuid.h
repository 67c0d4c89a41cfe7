// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CpuidSource.h"

class LinuxCpuid final : public CpuidSource
{
public:
    bool hasCpuid() const override;
    CpuidRegisters cpuid(quint32 leaf) const override;
};
