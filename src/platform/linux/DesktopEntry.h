#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A .desktop file (the freedesktop.org Desktop Entry Specification).
class DesktopEntry
{
public:
    // The unlocalised Name of the [Desktop Entry] group, escapes decoded;
    // nullopt when it is missing or empty.
    static std::optional<QString> name(const QByteArray &contents);
};
