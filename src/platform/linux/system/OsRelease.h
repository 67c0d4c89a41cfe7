// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemSource.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// The operating-system identification file, /etc/os-release (see os-release(5)):
// KEY=VALUE lines, values quoted and escaped as a shell reads them.
class OsRelease
{
public:
    // Every assignment of the file, values unquoted and unescaped; the last of a key wins.
    static QHash<QString, QString> fields(const QByteArray &text);
    // PRETTY_NAME, else NAME and VERSION, else the format's own default "Linux".
    static OperatingSystem operatingSystem(const QByteArray &text);
    // One value as the shell reads it: quotes removed, backslash escapes resolved.
    static QString unquoted(QByteArrayView value);
};
