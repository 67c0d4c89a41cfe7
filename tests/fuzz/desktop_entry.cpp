#include "platform/linux/DesktopEntry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// A .desktop file of an installed application.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray contents(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<QString> name = DesktopEntry::name(contents); name && name->isEmpty())
        std::abort(); // an empty name must read as none
    return 0;
}
