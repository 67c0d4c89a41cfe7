// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MemorySource.h"
#include "platform/linux/RereadFile.h"

#include <QDeadlineTimer>
#include <QString>

#include <chrono>
#include <optional>

// The memory status from /proc/meminfo, kept open and re-read.
class LinuxMemory final : public MemorySource
{
public:
    // How long one reading answers the queries after it. The memory figures
    // are asked for every 10 ms; reading them once per graph step (200 ms)
    // looks the same to the eye and costs a twentieth of the reads and repaints.
    static constexpr std::chrono::milliseconds DefaultMaximumAge{200};

    // rootDirectory stands for "/" when reading system files.
    explicit LinuxMemory(QString rootDirectory, std::chrono::milliseconds maximumAge = DefaultMaximumAge);

    MemoryStatus globalMemoryStatus() override;

private:
    MemoryStatus readStatus();
    bool isCommitLimitEnforced();
    bool readOvercommitMode();

    // How long a reading of the overcommit mode serves: it changes by hand, if ever.
    static constexpr std::chrono::milliseconds OvercommitModeLifetime{1000};

    QString m_root;
    std::chrono::milliseconds m_maximumAge;
    RereadFile m_meminfo;
    RereadFile m_overcommitMemory;
    std::optional<MemoryStatus> m_status;
    QDeadlineTimer m_statusExpiry{0};
    bool m_commitLimitEnforced = false;
    QDeadlineTimer m_overcommitModeExpiry{0};
};
