#pragma once

#include "RereadFile.h"
#include "platform/MemorySource.h"

#include <QString>

// The memory status from /proc/meminfo, kept open and re-read at each query.
class LinuxMemory final : public MemorySource
{
public:
    // rootDirectory stands for "/" when reading system files.
    explicit LinuxMemory(QString rootDirectory);

    MemoryStatus globalMemoryStatus() override;

private:
    bool isCommitLimitEnforced();

    QString m_root;
    RereadFile m_meminfo;
    RereadFile m_overcommitMemory;
};
