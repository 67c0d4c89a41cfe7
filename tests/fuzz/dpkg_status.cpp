// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/software/DpkgStatus.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// dpkg's status file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray status(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &name : DpkgStatus::installedPackages(status))
        if (name.isEmpty())
            std::abort(); // the software page would list a program without a name
    return 0;
}
