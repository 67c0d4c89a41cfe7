// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/services/InitScriptHeader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// A System V init script with (or without) its LSB header.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray script(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<QString> description = InitScriptHeader::shortDescription(script);
        description && description->isEmpty())
        std::abort(); // an empty Short-Description must read as none
    return 0;
}
