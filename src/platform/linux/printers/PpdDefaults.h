// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QSize>

#include <optional>

// The colour mode and resolution a PPD file gives as its defaults, from its
// "*DefaultColorModel:" and "*DefaultResolution:" lines.
class PpdDefaults
{
public:
    static PpdDefaults parse(QByteArrayView ppd);
    // "600dpi" or "1200x600dpi"; nullopt for anything else.
    static std::optional<QSize> parseResolution(QByteArrayView text);

    // DeviceMode::Color or DeviceMode::Monochrome; nullopt without a default colour model.
    std::optional<qint16> colorMode() const { return m_colorMode; }
    // Dots per inch across and down; nullopt without a readable default resolution.
    std::optional<QSize> resolution() const { return m_resolution; }

private:
    std::optional<qint16> m_colorMode;
    std::optional<QSize> m_resolution;
};
