// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeCpuid.h"

#include "FakeMachine.h"
#include "platform/ProcessorSource.h"

bool FakeCpuid::hasCpuid() const
{
    return m_machine.cpu.available && ProcessorIdentity::isX86(m_machine.processor.architecture);
}

CpuidRegisters FakeCpuid::cpuid(quint32 leaf) const
{
    const auto it = m_machine.cpu.leaves.find(leaf);
    return it == m_machine.cpu.leaves.end() ? CpuidRegisters() : it->second;
}
