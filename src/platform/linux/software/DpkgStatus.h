// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// dpkg's database of packages, /var/lib/dpkg/status (deb822 stanzas, see
// dpkg-query(1) for the Status field).
class DpkgStatus
{
public:
    struct Package
    {
        QString name;
        QString version; // as dpkg writes it ("1:2.36-9+deb12u4"); empty when the stanza has none
        // "Essential: yes" or "Priority: required": removing it breaks the system,
        // which is why apt refuses or asks for a confirming sentence.
        bool required = false;
    };

    // The installed packages, in the file's order. A package installed for
    // several architectures appears once per architecture, its name qualified
    // as dpkg does ("libc6:i386"); any other keeps its plain name.
    static QList<Package> installed(const QByteArray &status);
    // Their names alone.
    static QStringList installedPackages(const QByteArray &status);
};
