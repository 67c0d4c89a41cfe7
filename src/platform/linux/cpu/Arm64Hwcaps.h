// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The feature bits a 64-bit Arm kernel hands every program in its auxiliary
// vector (AT_HWCAP, AT_HWCAP2), by the names /proc/cpuinfo's "Features" line
// gives them (the kernel's arch/arm64/include/uapi/asm/hwcap.h and
// arch/arm64/kernel/cpuinfo.c).
class Arm64Hwcaps
{
public:
    // The features of both words in the kernel's order; a bit the kernel had
    // not named when this table was written shows as "hwcap2[47]".
    static QStringList names(quint64 hwcap, quint64 hwcap2);
};
