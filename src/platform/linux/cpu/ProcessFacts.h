// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the kernel tells this process about the machine it runs on, outside
// any file: uname's machine field and the feature words of the auxiliary
// vector. Under an emulator (qemu-user) these are the emulated processor's,
// while the files under /proc and /sys still describe the host.
struct ProcessFacts
{
    QString machine;
    quint64 hwcap = 0;
    quint64 hwcap2 = 0;

    static ProcessFacts ofThisProcess();
};
