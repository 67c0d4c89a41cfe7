// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A byte count in whole megabytes, truncated: "4095 MB". Counts are 64-bit,
// so machines and disks above 4 GiB read true.
inline QString megabyteText(quint64 bytes)
{
    return QString::number(bytes / 1048576u) + QStringLiteral(" MB");
}
