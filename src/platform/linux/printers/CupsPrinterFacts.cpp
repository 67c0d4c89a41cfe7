// SPDX-License-Identifier: GPL-3.0-or-later
#include "CupsPrinterFacts.h"

#include "PpdDefaults.h"

#include <QtMath>

#include "CupsLibrary.h"

#include <cstring>

namespace {

constexpr double MaxDpi = 999999;

bool colorSupportedIn(const CupsLibrary &cups, ipp_t *attributes)
{
    if (ipp_attribute_t *supported = cups.ippFindAttribute(attributes, "color-supported", IPP_TAG_BOOLEAN))
        if (cups.ippGetBoolean(supported, 0))
            return true;
    ipp_attribute_t *type = cups.ippFindAttribute(attributes, "printer-type", IPP_TAG_ENUM);
    return type && (cups.ippGetInteger(type, 0) & CUPS_PRINTER_COLOR);
}

// "auto" prints colour where the printer can.
std::optional<qint16> colorModeOf(const char *keyword, bool colorSupported)
{
    if (!keyword)
        return std::nullopt;
    const bool color = std::strcmp(keyword, "color") == 0 || (std::strcmp(keyword, "auto") == 0 && colorSupported);
    return color ? DeviceMode::Color : DeviceMode::Monochrome;
}

std::optional<qint16> colorModeIn(const CupsLibrary &cups, ipp_t *attributes, bool colorSupported)
{
    ipp_attribute_t *mode = cups.ippFindAttribute(attributes, "print-color-mode-default", IPP_TAG_KEYWORD);
    return colorModeOf(mode ? cups.ippGetString(mode, 0, nullptr) : nullptr, colorSupported);
}

std::optional<QSize> resolutionIn(const CupsLibrary &cups, ipp_t *attributes)
{
    ipp_attribute_t *resolution = cups.ippFindAttribute(attributes, "printer-resolution-default", IPP_TAG_RESOLUTION);
    if (!resolution)
        return std::nullopt;
    int y = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    const int x = cups.ippGetResolution(resolution, 0, &y, &units);
    const double scale = units == IPP_RES_PER_CM ? 2.54 : 1.0;
    const double across = x * scale;
    const double down = y * scale;
    // Beyond these no printer prints, whatever a scheduler says.
    if (across < 1 || down < 1 || across > MaxDpi || down > MaxDpi)
        return std::nullopt;
    return QSize(qRound(across), qRound(down));
}

} // namespace

CupsPrinterFacts CupsPrinterFacts::fromAttributes(const CupsLibrary &cups, ipp_t *attributes)
{
    CupsPrinterFacts facts;
    facts.m_colorSupported = colorSupportedIn(cups, attributes);
    facts.m_colorMode = colorModeIn(cups, attributes, facts.m_colorSupported);
    facts.m_resolution = resolutionIn(cups, attributes);
    return facts;
}

void CupsPrinterFacts::complete(const PpdDefaults &ppd)
{
    if (!m_colorMode)
        m_colorMode = ppd.colorMode();
    if (!m_resolution)
        m_resolution = ppd.resolution();
}

DeviceMode CupsPrinterFacts::deviceMode() const
{
    return DeviceMode{m_colorMode.value_or(0), m_colorSupported ? DeviceMode::ColorField : 0u};
}
