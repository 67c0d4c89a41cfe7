// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// dpkg's database of packages, /var/lib/dpkg/status (deb822 stanzas, see
// dpkg-query(1) for the Status field).
class DpkgStatus
{
public:
    // The names of the installed packages, in the file's order. A package
    // installed for several architectures appears once per architecture, its
    // name qualified as dpkg does ("libc6:i386"); any other keeps its plain name.
    static QStringList installedPackages(const QByteArray &status);
};
