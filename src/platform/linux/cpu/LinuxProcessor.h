// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProcessFacts.h"
#include "platform/ProcessorSource.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <mutex>
#include <optional>

struct LinuxProcessorTexts;

// The processors' identity from /proc/cpuinfo, each CPU's midr_el1 in sysfs, the
// auxiliary vector, the device tree and DMI; read at the first question only.
class LinuxProcessor final : public ProcessorSource
{
public:
    // rootDirectory stands for "/" when reading files; process gives the machine and the auxiliary vector.
    explicit LinuxProcessor(QString rootDirectory, ProcessFacts process = ProcessFacts::ofThisProcess());

    ProcessorIdentity identity() const override;

    // The raw texts as they read now.
    LinuxProcessorTexts readTexts() const;

    // Larger than any /proc/cpuinfo: 4,096 processors of a server take a few megabytes.
    static constexpr qint64 MaximumCpuinfoSize = 64 << 20;

private:
    QString path(const QString &relative) const;
    std::optional<QList<QByteArray>> readMidr() const;
    int readOnlineProcessors() const;

    QString m_root;
    ProcessFacts m_process;
    mutable std::once_flag m_read;
    mutable ProcessorIdentity m_identity;
};
