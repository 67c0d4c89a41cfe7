// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstalledPrograms.h"

#include "DesktopEntry.h"
#include "DpkgStatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// rpm keeps its database in one of these, by version.
// Views of static text: the reading thread may outlive the static objects at exit.
constexpr std::array<QLatin1StringView, 6> RpmDatabases{
    "/var/lib/rpm/rpmdb.sqlite"_L1,      "/var/lib/rpm/Packages"_L1,
    "/var/lib/rpm/Packages.db"_L1,       "/usr/lib/sysimage/rpm/rpmdb.sqlite"_L1,
    "/usr/lib/sysimage/rpm/Packages"_L1, "/usr/lib/sysimage/rpm/Packages.db"_L1,
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

// A name a shell takes as one word as it stands.
bool isShellWord(const QString &name)
{
    const auto plain = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
            || QStringView(u"+._:@%/=,-").contains(c);
    };
    return !name.isEmpty() && std::all_of(name.cbegin(), name.cend(), plain);
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

QList<RpmPackage> InstalledPrograms::rpmPackages(const QByteArray &queryOutput)
{
    QList<RpmPackage> packages;
    QSet<QString> seen;
    for (const QByteArray &line : queryOutput.split('\n')) {
        if (line.size() > LongestPackageName)
            continue; // not a name: what a broken rpm writes
        const qsizetype tab = line.indexOf('\t');
        const QString name = QString::fromUtf8((tab < 0 ? line : line.left(tab)).trimmed());
        if (name.isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        packages.append({name, tab < 0 ? QString() : QString::fromUtf8(line.mid(tab + 1).trimmed())});
    }
    return packages;
}

QStringList InstalledPrograms::rpmPackageNames(const QByteArray &queryOutput)
{
    QStringList names;
    for (const RpmPackage &package : rpmPackages(queryOutput))
        names.append(package.name);
    return names;
}

QString InstalledPrograms::snapVersion(const QByteArray &snapYaml)
{
    for (const QByteArray &line : snapYaml.split('\n')) {
        if (!line.startsWith("version:"))
            continue;
        QByteArray value = line.mid(8).trimmed();
        if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        return QString::fromUtf8(value);
    }
    return {};
}

// Releases are listed newest first (AppStream's metainfo format).
QString InstalledPrograms::appStreamVersion(const QByteArray &metainfo)
{
    QXmlStreamReader reader(metainfo);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"release"_s)
            return reader.attributes().value(u"version"_s).toString();
    return {};
}

QString InstalledPrograms::removalCommand(const QString &command, const QString &name)
{
    if (name.contains(QChar::ReplacementCharacter))
        return {};
    if (isShellWord(name))
        return command + u' ' + name;
    QString quoted = name;
    quoted.replace(u'\'', u"'\\''"_s);
    return command + u" '"_s + quoted + u'\'';
}

bool InstalledPrograms::isSnapApplication(const QString &name)
{
    return name != u"bin"_s && name != u"snapd"_s && !name.startsWith(u"core"_s);
}

void InstalledPrograms::addDpkgPackages(QList<InstalledProgram> &programs) const
{
    const QList<DpkgStatus::Package> packages = DpkgStatus::installed(readFile(underRoot(u"/var/lib/dpkg/status"_s)));
    programs.reserve(programs.size() + packages.size());
    for (const DpkgStatus::Package &package : packages) {
        const QString command = package.required ? QString() : removalCommand(u"sudo apt-get remove"_s, package.name);
        programs.append({package.name, package.name, command, u"dpkg"_s, package.version, package.required});
    }
}

void InstalledPrograms::addFlatpakApplications(const QString &installation, const QString &keyPrefix,
                                               QList<InstalledProgram> &programs) const
{
    const QString applications = installation + u"/app"_s;
    for (const QString &id : subdirectories(applications)) {
        const QString desktopFile = u"%1/%2/current/active/export/share/applications/%2.desktop"_s.arg(applications,
                                                                                                       id);
        const QString name = DesktopEntry::name(readFile(desktopFile)).value_or(id);
        const QString metainfo = u"%1/%2/current/active/files/share/metainfo/%2"_s.arg(applications, id);
        QString version = appStreamVersion(readFile(metainfo + u".metainfo.xml"_s));
        if (version.isEmpty())
            version = appStreamVersion(readFile(metainfo + u".appdata.xml"_s));
        programs.append({keyPrefix + id, name, removalCommand(u"flatpak uninstall"_s, id), u"Flatpak"_s, version});
    }
}

void InstalledPrograms::addSnaps(QList<InstalledProgram> &programs) const
{
    for (const QString &name : subdirectories(underRoot(u"/snap"_s)))
        if (isSnapApplication(name))
            programs.append({u"snap:"_s + name, name, removalCommand(u"sudo snap remove"_s, name), u"Snap"_s,
                             snapVersion(readFile(underRoot(u"/snap/%1/current/meta/snap.yaml"_s.arg(name))))});
}

bool InstalledPrograms::hasRpmDatabase() const
{
    return std::any_of(RpmDatabases.cbegin(), RpmDatabases.cend(),
                       [this](QLatin1StringView path) { return QFileInfo::exists(underRoot(path)); });
}

QList<InstalledProgram> InstalledPrograms::rpmPrograms(const QList<RpmPackage> &packages)
{
    QList<InstalledProgram> programs;
    programs.reserve(packages.size());
    for (const RpmPackage &package : packages)
        programs.append({u"rpm:"_s + package.name, package.name, removalCommand(u"sudo dnf remove"_s, package.name),
                         u"rpm"_s, package.version});
    return programs;
}

QString InstalledPrograms::underRoot(const QString &absolutePath) const
{
    return QDir::cleanPath(m_root + u'/' + absolutePath);
}
