#include "LinuxMemory.h"

#include "MeminfoParser.h"
#include "platform/Failure.h"

#include <QDir>

using namespace Qt::StringLiterals;

LinuxMemory::LinuxMemory(QString rootDirectory)
    : m_root(std::move(rootDirectory))
    , m_meminfo(QDir(m_root).filePath(u"proc/meminfo"_s))
    , m_overcommitMemory(QDir(m_root).filePath(u"proc/sys/vm/overcommit_memory"_s))
{
}

MemoryStatus LinuxMemory::globalMemoryStatus()
{
    // The mode is read each time: an administrator may change it while the window is open.
    const bool enforced = isCommitLimitEnforced();
    return MeminfoParser::memoryStatus(m_meminfo.read(), enforced);
}

bool LinuxMemory::isCommitLimitEnforced()
{
    try {
        return MeminfoParser::isCommitLimitEnforced(m_overcommitMemory.read());
    } catch (const Failure &) {
        // Without the setting (some containers hide /proc/sys) the kernel's default mode holds.
        return false;
    }
}
