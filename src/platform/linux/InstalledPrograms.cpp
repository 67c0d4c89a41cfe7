// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstalledPrograms.h"

#include "DesktopEntry.h"
#include "DpkgStatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// rpm keeps its database in one of these, by version.
const QStringList RpmDatabases{
    u"var/lib/rpm/rpmdb.sqlite"_s,          u"var/lib/rpm/Packages"_s,          u"var/lib/rpm/Packages.db"_s,
    u"usr/lib/sysimage/rpm/rpmdb.sqlite"_s, u"usr/lib/sysimage/rpm/Packages"_s, u"usr/lib/sysimage/rpm/Packages.db"_s,
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList subdirectories(const QString &path)
{
    return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

InstalledPrograms::InstalledPrograms(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

QList<InstalledProgram> InstalledPrograms::read() const
{
    QList<InstalledProgram> programs;
    addDpkgPackages(programs);
    addFlatpakApplications(underRoot(u"/var/lib/flatpak"_s), u"flatpak:"_s, programs);
    addFlatpakApplications(underRoot(QDir::homePath() + u"/.local/share/flatpak"_s), u"flatpak-user:"_s, programs);
    addSnaps(programs);
    return programs;
}

QStringList InstalledPrograms::rpmPackageNames(const QByteArray &queryOutput)
{
    QStringList names;
    QSet<QString> seen;
    for (const QByteArray &line : queryOutput.split('\n')) {
        const QString name = QString::fromUtf8(line.trimmed());
        if (name.isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        names.append(name);
    }
    return names;
}

bool InstalledPrograms::isSnapApplication(const QString &name)
{
    return name != u"bin"_s && name != u"snapd"_s && !name.startsWith(u"core"_s);
}

void InstalledPrograms::addDpkgPackages(QList<InstalledProgram> &programs) const
{
    const QStringList packages = DpkgStatus::installedPackages(readFile(underRoot(u"/var/lib/dpkg/status"_s)));
    programs.reserve(programs.size() + packages.size());
    for (const QString &package : packages)
        programs.append({package, package, u"apt-get remove "_s + package, u"dpkg"_s});
}

void InstalledPrograms::addFlatpakApplications(const QString &installation, const QString &keyPrefix,
                                               QList<InstalledProgram> &programs) const
{
    const QString applications = installation + u"/app"_s;
    for (const QString &id : subdirectories(applications)) {
        const QString desktopFile = u"%1/%2/current/active/export/share/applications/%2.desktop"_s.arg(applications,
                                                                                                       id);
        const QString name = DesktopEntry::name(readFile(desktopFile)).value_or(id);
        programs.append({keyPrefix + id, name, u"flatpak uninstall "_s + id, u"Flatpak"_s});
    }
}

void InstalledPrograms::addSnaps(QList<InstalledProgram> &programs) const
{
    for (const QString &name : subdirectories(underRoot(u"/snap"_s)))
        if (isSnapApplication(name))
            programs.append({u"snap:"_s + name, name, u"snap remove "_s + name, u"Snap"_s});
}

bool InstalledPrograms::hasRpmDatabase() const
{
    return std::any_of(RpmDatabases.cbegin(), RpmDatabases.cend(),
                       [this](const QString &path) { return QFileInfo::exists(underRoot(u'/' + path)); });
}

QList<InstalledProgram> InstalledPrograms::rpmPrograms(const QStringList &packageNames)
{
    QList<InstalledProgram> programs;
    programs.reserve(packageNames.size());
    for (const QString &name : packageNames)
        programs.append({u"rpm:"_s + name, name, u"dnf remove "_s + name, u"rpm"_s});
    return programs;
}

QString InstalledPrograms::underRoot(const QString &absolutePath) const
{
    return QDir::cleanPath(m_root + u'/' + absolutePath);
}
