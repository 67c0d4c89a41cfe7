// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PrinterSource.h"

#include <QSize>

#include <cups/ipp.h>

#include <optional>

class CupsLibrary;
class PpdDefaults;

// What the printer page needs to know of one CUPS queue: its default colour
// mode, whether it can print in colour, and its default resolution.
class CupsPrinterFacts
{
public:
    // From one printer's attributes: print-color-mode-default, color-supported,
    // printer-type and printer-resolution-default.
    static CupsPrinterFacts fromAttributes(const CupsLibrary &cups, ipp_t *attributes);

    bool hasColorMode() const { return m_colorMode.has_value(); }
    bool hasResolution() const { return m_resolution.has_value(); }
    // Takes from the queue's PPD what the scheduler did not say.
    void complete(const PpdDefaults &ppd);

    // The colour field is 0 where no colour mode is known.
    DeviceMode deviceMode() const;
    // Dots per inch across and down; nullopt where none is known.
    std::optional<QSize> resolution() const { return m_resolution; }

private:
    std::optional<qint16> m_colorMode;
    bool m_colorSupported = false;
    std::optional<QSize> m_resolution;
};
