#include "platform/PrinterSource.h"
#include "platform/linux/PpdDefaults.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkResolution(const std::optional<QSize> &resolution)
{
    if (resolution && (resolution->width() <= 0 || resolution->height() <= 0))
        std::abort(); // dots per inch are counted from 1
}

} // namespace

// A printer's PPD file, and a resolution text on its own.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView ppd(reinterpret_cast<const char *>(data), qsizetype(size));
    const PpdDefaults defaults = PpdDefaults::parse(ppd);
    checkResolution(defaults.resolution());
    if (defaults.colorMode() && *defaults.colorMode() != DeviceMode::Color
        && *defaults.colorMode() != DeviceMode::Monochrome)
        std::abort();
    checkResolution(PpdDefaults::parseResolution(ppd));
    return 0;
}
