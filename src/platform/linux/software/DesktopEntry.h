// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A .desktop file, in the freedesktop.org desktop entry format.
class DesktopEntry
{
public:
    // The unlocalised Name of the [Desktop Entry] group, escapes decoded;
    // nullopt when it is missing or empty.
    static std::optional<QString> name(const QByteArray &contents);
};
