// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>

// The fonts and colours the form's controls are designed with.
namespace FormFonts {

// Arial at a character height of 11 pixels (8 pt at 96 pixels per inch).
inline QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Caption labels carry a font of their own: the window font, drawn red.
inline QColor captionColor()
{
    return QColor(255, 0, 0);
}

} // namespace FormFonts
