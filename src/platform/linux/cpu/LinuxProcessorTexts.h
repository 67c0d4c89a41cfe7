// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Everything Linux tells an ordinary user about the processors, as it reads:
// the raw texts the identity is decoded from.
struct LinuxProcessorTexts
{
    QString machine; // uname's machine field
    QByteArray cpuinfo; // /proc/cpuinfo
    // /sys/devices/system/cpu/cpuN/regs/identification/midr_el1 of each CPU
    // that has one, in CPU order; nothing where no CPU has that directory.
    std::optional<QList<QByteArray>> midr;
    quint64 hwcap = 0; // the auxiliary vector's AT_HWCAP
    quint64 hwcap2 = 0; // and AT_HWCAP2
    std::optional<QByteArray> deviceTreeModel; // /proc/device-tree/model
    QByteArray dmiSysVendor; // /sys/class/dmi/id/sys_vendor
    QByteArray dmiProductName; // /sys/class/dmi/id/product_name
    int onlineProcessors = 0; // from /sys/devices/system/cpu/online; 0 where unknown
};
