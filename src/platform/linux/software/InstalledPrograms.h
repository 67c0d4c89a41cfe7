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
    QString version; // as the package manager writes it; empty when it names none
    bool systemRequired = false; // the system cannot do without it; uninstallString is empty
};

// A package as rpm lists it.
struct RpmPackage
{
    QString name;
    QString version; // VERSION-RELEASE
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
    static QList<InstalledProgram> rpmPrograms(const QList<RpmPackage> &packages);

    // Longer lines are no package's name.
    static constexpr qsizetype LongestPackageName = 1024;

    // The packages that rpm -qa printed with RpmQueryFormat, each name once (a line longer than LongestPackageName is
    // none); a line without a tab is a name alone.
    static QList<RpmPackage> rpmPackages(const QByteArray &queryOutput);
    static QStringList rpmPackageNames(const QByteArray &queryOutput);
    static constexpr const char *RpmQueryFormat = "%{NAME}\\t%{VERSION}-%{RELEASE}\\n";
    // The version a snap's meta/snap.yaml gives, and the newest release an AppStream metainfo file lists.
    static QString snapVersion(const QByteArray &snapYaml);
    static QString appStreamVersion(const QByteArray &metainfo);
    // Whether a directory in /snap is an application rather than a base or snapd's own.
    static bool isSnapApplication(const QString &name);
    // The command that removes a package, ready for a shell: the name quoted where it holds
    // characters a shell would act on; empty for a name that was not valid UTF-8, whose
    // bytes are lost and which no command could name.
    static QString removalCommand(const QString &command, const QString &name);

private:
    void addDpkgPackages(QList<InstalledProgram> &programs) const;
    void addFlatpakApplications(const QString &installation, const QString &keyPrefix,
                                QList<InstalledProgram> &programs) const;
    void addSnaps(QList<InstalledProgram> &programs) const;
    QString underRoot(const QString &absolutePath) const;

    QString m_root;
};
