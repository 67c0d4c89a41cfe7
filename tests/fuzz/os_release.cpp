// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/system/CpuTopology.h"
#include "platform/linux/system/OsRelease.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// An os-release file, and the same bytes as the kernel's CPU list.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    // Whatever the file says, the system has a name to show.
    if (OsRelease::operatingSystem(text).name.isEmpty())
        std::abort();
    const std::optional<QList<int>> cpus = CpuTopology::cpuList(text);
    if (cpus && cpus->size() > 65536)
        std::abort();
    return 0;
}
