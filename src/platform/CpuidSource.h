// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

struct CpuidRegisters
{
    quint32 eax = 0;
    quint32 ebx = 0;
    quint32 ecx = 0;
    quint32 edx = 0;

    friend bool operator==(const CpuidRegisters &, const CpuidRegisters &) = default;
};

// The processor's identification instruction.
class CpuidSource
{
public:
    virtual ~CpuidSource() = default;

    // False on processors (or builds) without the instruction.
    virtual bool hasCpuid() const = 0;
    // No sub-leaf is passed; a leaf the processor does not know answers what it answers.
    virtual CpuidRegisters cpuid(quint32 leaf) const = 0;
};
