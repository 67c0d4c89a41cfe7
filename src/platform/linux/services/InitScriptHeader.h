// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The LSB comment block of a System V init script ("### BEGIN INIT INFO" to
// "### END INIT INFO", as the Linux Standard Base defines it).
class InitScriptHeader
{
public:
    // The block's Short-Description, nullopt when the script has none.
    static std::optional<QString> shortDescription(const QByteArray &script);
};
