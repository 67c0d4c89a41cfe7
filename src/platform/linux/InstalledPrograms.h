// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct InstalledProgram
{
    QString keyName; // unique among all programs
    QString displayName;
    QString uninstallString;
    QString source; // the package manager: "dpkg", "Flatpak", "Snap" or "rpm"
};

// The programs installed through the machine's package managers: dpkg,
// Flatpak (system-wide and the user's) and Snap from their files; rpm's are
// asked of the rpm command, which RpmQuery does without waiting for it.
class InstalledPrograms
{
public:
    explicit InstalledPrograms(QString rootDirectory);

    // The programs that dpkg, Flatpak and Snap keep in files.
    QList<InstalledProgram> read() const;
    bool hasRpmDatabase() const;
    static QList<InstalledProgram> rpmPrograms(const QStringList &packageNames);

    // The package names that "rpm -qa --queryformat '%{NAME}\n'" printed, each once.
    static QStringList rpmPackageNames(const QByteArray &queryOutput);
    // Whether a directory in /snap is an application rather than a base or snapd's own.
    static bool isSnapApplication(const QString &name);

private:
    void addDpkgPackages(QList<InstalledProgram> &programs) const;
    void addFlatpakApplications(const QString &installation, const QString &keyPrefix,
                                QList<InstalledProgram> &programs) const;
    void addSnaps(QList<InstalledProgram> &programs) const;
    QString underRoot(const QString &absolutePath) const;

    QString m_root;
};
