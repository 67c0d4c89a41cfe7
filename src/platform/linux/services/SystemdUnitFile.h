// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reads what the service list needs from a systemd unit file or drop-in
// (the format of systemd.syntax(7)).
class SystemdUnitFile
{
public:
    // The last Description= of the [Unit] section, as written; nullopt when the
    // file sets none. An empty assignment resets it to empty text.
    static std::optional<QString> description(const QByteArray &contents);

    // Replaces the name specifiers (%n %N %p %P %i %I and %%) for the unit with that full name;
    // every other specifier stays as written.
    static QString expandSpecifiers(const QString &text, const QString &unitName);
};
