// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Failure.h"
#include "platform/linux/memory/MeminfoParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The text of /proc/meminfo, read as overcommit modes 0 and 1 leave it and as mode 2 does.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A view of libFuzzer's own buffer: a read past its end is a sanitizer report.
    const QByteArrayView meminfo(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const bool commitLimitEnforced : {false, true}) {
        try {
            const MemoryStatus status = MeminfoParser::memoryStatus(meminfo, commitLimitEnforced);
            // Whatever the file says, the page must not be handed a load past 100 %
            // or more free page file than there is.
            if (status.memoryLoad > 100 || (commitLimitEnforced && status.availPageFile > status.totalPageFile))
                std::abort();
        } catch (const Failure &) {
            // A file that is not /proc/meminfo: the page reports it.
        }
    }
    MeminfoParser::isCommitLimitEnforced(meminfo);
    return 0;
}
