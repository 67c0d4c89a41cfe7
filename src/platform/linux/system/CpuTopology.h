// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemSource.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The processors the kernel runs on, from /sys/devices/system/cpu (see the
// kernel's Documentation/ABI/stable/sysfs-devices-system-cpu).
class CpuTopology
{
public:
    // A CPU list as the kernel writes it ("0-3,8,10-11"); nullopt when it is not one.
    static std::optional<QList<int>> cpuList(const QByteArray &text);

    // A file of the cpu directory by its path below it ("cpu3/topology/core_id"); nullopt when it cannot be read.
    using FileReader = std::function<std::optional<QByteArray>(const QString &path)>;
    // CPUs online and the distinct cores among them (core ids per package); nullopt where unreadable.
    static ProcessorCount count(const FileReader &read);
};
