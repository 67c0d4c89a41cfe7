// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemdServiceList.h"

#include "SystemdUnitFile.h"

#include <QFile>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;
namespace fs = std::filesystem;

namespace {

// Highest precedence first.
constexpr const char *SearchPath[] = {
    "etc/systemd/system",     "run/systemd/system", "usr/local/lib/systemd/system",
    "usr/lib/systemd/system", "lib/systemd/system",
};
constexpr int MaximumLinkHops = 8;
const QString ServiceSuffix = u".service"_s;

QString nameOf(const fs::path &path)
{
    return QString::fromStdString(path.filename().string());
}

bool isTemplate(const QString &unitName)
{
    return unitName.endsWith(u"@"_s + ServiceSuffix);
}

// "name@instance.service" comes with the drop-ins of "name@.service".
QString templateOf(const QString &unitName)
{
    const qsizetype at = unitName.indexOf(u'@');
    return at < 0 || isTemplate(unitName) ? QString() : unitName.first(at + 1) + ServiceSuffix;
}

// Directory entries, without throwing when the directory goes away meanwhile.
template<typename Visit>
void forEachEntry(const fs::path &directory, Visit &&visit)
{
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error))
        visit(*it);
}

// A link under another name is an alias, except an instance's link to its own template.
bool isAlias(const QString &unitName, const fs::path &file)
{
    const QString ownName = nameOf(file);
    return ownName != unitName && ownName != templateOf(unitName);
}

// nullopt when the file cannot be read.
std::optional<QByteArray> readFile(const fs::path &path)
{
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Where a unit file entry leads: a file, a mask, or nothing usable.
struct Resolution
{
    enum class Kind { File, Masked, Broken };
    Kind kind = Kind::Broken;
    fs::path file;
};

class UnitScan
{
public:
    explicit UnitScan(const QString &root)
        : m_root(root.toStdString())
    {
    }

    bool scan();
    QList<ServiceEntry> services() const;

private:
    struct Unit
    {
        QString name;
        fs::path file;
    };
    struct UnitDirectory
    {
        fs::path path;
        QSet<QString> dropInDirectories; // names of its *.service.d directories
    };

    void scanDirectory(UnitDirectory &directory);
    Resolution resolve(const fs::directory_entry &entry) const;
    std::optional<QString> displayName(const Unit &unit) const;
    QMap<QString, fs::path> dropIns(const QString &unitName) const;

    fs::path m_root;
    QList<UnitDirectory> m_directories;
    QMap<QString, Resolution> m_entries; // by unit name, from the first directory holding it
};

bool UnitScan::scan()
{
    QSet<QString> seen;
    for (const char *relative : SearchPath) {
        const fs::path directory = m_root / relative;
        std::error_code error;
        if (!fs::is_directory(directory, error))
            continue;
        // /lib is often a link to /usr/lib: read each real directory once.
        const QString real = QString::fromStdString(fs::canonical(directory, error).string());
        if (error || seen.contains(real))
            continue;
        seen.insert(real);
        m_directories.append({directory, {}});
        scanDirectory(m_directories.last());
    }
    return !m_directories.isEmpty();
}

void UnitScan::scanDirectory(UnitDirectory &directory)
{
    forEachEntry(directory.path, [&](const fs::directory_entry &entry) {
        const QString name = nameOf(entry.path());
        std::error_code error;
        if (name.startsWith(u'.'))
            return;
        if (name.endsWith(ServiceSuffix + u".d"_s)) {
            if (entry.is_directory(error))
                directory.dropInDirectories.insert(name);
            return;
        }
        if (!name.endsWith(ServiceSuffix) || name.size() == ServiceSuffix.size() || m_entries.contains(name)
            || entry.is_directory(error))
            return;
        m_entries.insert(name, resolve(entry));
    });
}

// Follows links as systemd does. An absolute target is taken inside the root.
// The entry's own type comes from the directory listing, which saves a
// system call per unit; an empty file, systemd's other mask, shows when read.
Resolution UnitScan::resolve(const fs::directory_entry &entry) const
{
    std::error_code error;
    if (!entry.is_symlink(error))
        return entry.is_regular_file(error) ? Resolution{Resolution::Kind::File, entry.path()} : Resolution{};
    fs::path current = entry.path();
    for (int hop = 0; hop < MaximumLinkHops; ++hop) {
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            return {};
        if (target == "/dev/null")
            return {Resolution::Kind::Masked, {}};
        current = target.is_absolute() ? m_root / target.relative_path() : current.parent_path() / target;
        if (!fs::is_symlink(current, error))
            return fs::is_regular_file(current, error) ? Resolution{Resolution::Kind::File, current} : Resolution{};
    }
    return {};
}

QList<ServiceEntry> UnitScan::services() const
{
    QList<Unit> units;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (it->kind != Resolution::Kind::File || isTemplate(it.key()))
            continue;
        if (!isAlias(it.key(), it->file))
            units.append({it.key(), it->file});
    }
    // An alias is listed once, under the name of the unit it stands for.
    QSet<QString> aliasTargets;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (it->kind != Resolution::Kind::File)
            continue;
        const QString ownName = nameOf(it->file);
        if (!isAlias(it.key(), it->file) || !ownName.endsWith(ServiceSuffix) || isTemplate(ownName)
            || m_entries.contains(ownName) || aliasTargets.contains(ownName))
            continue;
        aliasTargets.insert(ownName);
        units.append({ownName, it->file});
    }
    std::sort(units.begin(), units.end(), [](const Unit &a, const Unit &b) {
        const QStringView first = QStringView(a.name).chopped(ServiceSuffix.size());
        const QStringView second = QStringView(b.name).chopped(ServiceSuffix.size());
        const int order = first.compare(second, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : first < second;
    });
    QList<ServiceEntry> services;
    services.reserve(units.size());
    for (const Unit &unit : std::as_const(units))
        if (std::optional<QString> name = displayName(unit))
            services.append({unit.name, *name});
    return services;
}

// nullopt for a unit masked by an empty file.
std::optional<QString> UnitScan::displayName(const Unit &unit) const
{
    const std::optional<QByteArray> contents = readFile(unit.file);
    if (contents && contents->isEmpty())
        return std::nullopt;
    std::optional<QString> description = SystemdUnitFile::description(contents.value_or(QByteArray()));
    for (const fs::path &dropIn : dropIns(unit.name))
        if (std::optional<QString> overriding = SystemdUnitFile::description(readFile(dropIn).value_or(QByteArray())))
            description = overriding;
    if (description && !description->isEmpty())
        return SystemdUnitFile::expandSpecifiers(*description, unit.name);
    return unit.name.chopped(ServiceSuffix.size());
}

// The unit's *.conf drop-ins by file name, in the order they apply; of two
// with the same file name the one in the directory of higher precedence wins,
// and a drop-in masked by a link to /dev/null drops out.
QMap<QString, fs::path> UnitScan::dropIns(const QString &unitName) const
{
    QStringList dropInNames{unitName + u".d"_s};
    if (const QString templateName = templateOf(unitName); !templateName.isEmpty())
        dropInNames.append(templateName + u".d"_s);

    QMap<QString, fs::path> files;
    QSet<QString> decided;
    for (const UnitDirectory &directory : m_directories) {
        for (const QString &dropInName : std::as_const(dropInNames)) {
            if (!directory.dropInDirectories.contains(dropInName))
                continue;
            forEachEntry(directory.path / dropInName.toStdString(), [&](const fs::directory_entry &entry) {
                const QString fileName = nameOf(entry.path());
                if (!fileName.endsWith(u".conf"_s) || decided.contains(fileName))
                    return;
                decided.insert(fileName);
                const Resolution resolution = resolve(entry);
                if (resolution.kind == Resolution::Kind::File)
                    files.insert(fileName, resolution.file);
            });
        }
    }
    return files;
}

} // namespace

SystemdServiceList::SystemdServiceList(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

std::optional<QStringList> SystemdServiceList::displayNames() const
{
    const std::optional<QList<ServiceEntry>> all = services();
    if (!all)
        return std::nullopt;
    QStringList names;
    names.reserve(all->size());
    for (const ServiceEntry &service : *all)
        names.append(service.displayName);
    return names;
}

std::optional<QList<ServiceEntry>> SystemdServiceList::services() const
{
    UnitScan scan(m_root);
    if (!scan.scan())
        return std::nullopt;
    return scan.services();
}
