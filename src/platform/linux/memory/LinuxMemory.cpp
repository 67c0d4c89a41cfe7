// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxMemory.h"

#include "MeminfoParser.h"
#include "platform/Failure.h"

#include <QDir>

using namespace Qt::StringLiterals;

LinuxMemory::LinuxMemory(QString rootDirectory, std::chrono::milliseconds maximumAge)
    : m_root(std::move(rootDirectory))
    , m_maximumAge(maximumAge)
    , m_meminfo(QDir(m_root).filePath(u"proc/meminfo"_s))
    , m_overcommitMemory(QDir(m_root).filePath(u"proc/sys/vm/overcommit_memory"_s))
{
}

MemoryStatus LinuxMemory::globalMemoryStatus()
{
    if (!m_status || m_statusExpiry.hasExpired()) {
        // Forgotten first, so a failed reading is tried again at the next query.
        m_status.reset();
        m_status = readStatus();
        m_statusExpiry.setRemainingTime(m_maximumAge);
    }
    return *m_status;
}

MemoryStatus LinuxMemory::readStatus()
{
    const bool commitLimitEnforced = isCommitLimitEnforced();
    return MeminfoParser::memoryStatus(m_meminfo.read(), commitLimitEnforced);
}

bool LinuxMemory::isCommitLimitEnforced()
{
    // Read again now and then, not at every reading: an administrator may change it while the window is open.
    if (m_overcommitModeExpiry.hasExpired()) {
        m_commitLimitEnforced = readOvercommitMode();
        m_overcommitModeExpiry.setRemainingTime(OvercommitModeLifetime);
    }
    return m_commitLimitEnforced;
}

bool LinuxMemory::readOvercommitMode()
{
    try {
        return MeminfoParser::isCommitLimitEnforced(m_overcommitMemory.read());
    } catch (const Failure &) {
        // Without the setting (some containers hide /proc/sys) the kernel's default mode holds.
        return false;
    }
}
