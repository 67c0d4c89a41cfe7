// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MemorySource.h"

#include <QByteArrayView>

// The memory status made of the text of /proc/meminfo (see proc(5)).
class MeminfoParser
{
public:
    // commitLimitEnforced: the kernel refuses to commit beyond CommitLimit
    // (overcommit mode 2), which then is the page-file total. Throws Failure
    // when a figure the status needs is missing or is not a count of kB.
    static MemoryStatus memoryStatus(QByteArrayView meminfo, bool commitLimitEnforced);

    // The text of /proc/sys/vm/overcommit_memory: mode 2 enforces the limit.
    static bool isCommitLimitEnforced(QByteArrayView overcommitMemory);
};
