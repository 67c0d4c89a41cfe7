// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// An Arm processor's Main ID Register (MIDR_EL1), the fields as the
// architecture lays them out: implementer 31:24, variant 23:20,
// architecture 19:16, part number 15:4, revision 3:0.
struct MainIdRegister
{
    quint32 implementer = 0;
    quint32 variant = 0;
    quint32 architecture = 0;
    quint32 part = 0;
    quint32 revision = 0;

    static MainIdRegister fromValue(quint64 value);
    // The text of /sys/devices/system/cpu/cpuN/regs/identification/midr_el1
    // ("0x00000000410fd083"); nothing when it is empty or not a number.
    static std::optional<MainIdRegister> fromSysfs(QByteArrayView text);
    // The fields /proc/cpuinfo gives instead where that file is missing:
    // "CPU implementer : 0x41", "CPU variant : 0x0", "CPU part : 0xd08",
    // "CPU revision : 3"; nothing without an implementer and a part.
    static std::optional<MainIdRegister> fromCpuinfo(const QString &implementer, const QString &variant,
                                                     const QString &part, const QString &revision);

    friend bool operator==(const MainIdRegister &, const MainIdRegister &) = default;
};
