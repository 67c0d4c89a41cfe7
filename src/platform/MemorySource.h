// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The memory status record: sizes are byte counts, load is a whole percent.
struct MemoryStatus
{
    quint32 memoryLoad = 0;
    quint64 totalPhys = 0;
    quint64 availPhys = 0;
    quint64 totalPageFile = 0;
    quint64 availPageFile = 0;

    friend bool operator==(const MemoryStatus &, const MemoryStatus &) = default;
};

class MemorySource
{
public:
    virtual ~MemorySource() = default;

    // Throws Failure when the figures cannot be had.
    virtual MemoryStatus globalMemoryStatus() = 0;
};
