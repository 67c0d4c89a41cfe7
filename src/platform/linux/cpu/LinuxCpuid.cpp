// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxCpuid.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

bool LinuxCpuid::hasCpuid() const
{
#if defined(__i386__) || defined(__x86_64__)
    return true;
#else
    return false;
#endif
}

CpuidRegisters LinuxCpuid::cpuid(quint32 leaf) const
{
    CpuidRegisters r;
#if defined(__i386__) || defined(__x86_64__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    __cpuid(leaf, eax, ebx, ecx, edx);
    r = {eax, ebx, ecx, edx};
#else
    Q_UNUSED(leaf);
#endif
    return r;
}
