// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PrinterSource.h"
#include "platform/linux/printers/PpdDefaults.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkResolution(const std::optional<QSize> &resolution)
{
    require(!resolution || (resolution->width() > 0 && resolution->height() > 0));
}

// A resolution is read only from its own two spellings, "600dpi" and "1200x600dpi".
void checkResolutionText(QByteArrayView text)
{
    const std::optional<QSize> resolution = PpdDefaults::parseResolution(text);
    checkResolution(resolution);
    if (!resolution)
        return;
    const QByteArray across = QByteArray::number(resolution->width());
    const QByteArray down = QByteArray::number(resolution->height());
    require(text == across + "dpi" || text == across + 'x' + down + "dpi");
}

} // namespace

// A printer's PPD file, and a resolution text on its own.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView ppd(reinterpret_cast<const char *>(data), qsizetype(size));
    const PpdDefaults defaults = PpdDefaults::parse(ppd);
    checkResolution(defaults.resolution());
    require(!defaults.colorMode() || *defaults.colorMode() == DeviceMode::Color
            || *defaults.colorMode() == DeviceMode::Monochrome);
    checkResolutionText(ppd);
    return 0;
}
