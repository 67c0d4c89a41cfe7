// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxDrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype PresentedPathLimit = 256;
constexpr std::chrono::milliseconds Immediately{0};
// How long a drive table's build waits to learn whether a bind mount is a directory.
constexpr std::chrono::milliseconds WindowDirectoryCheck{100};
constexpr std::chrono::milliseconds PatientDirectoryCheck{250};
// How long the first question waits for the first table: a build waits at most as above.
constexpr std::chrono::milliseconds FirstTablePatience{150};

bool isLetterColon(const QString &path)
{
    return path.size() >= 2 && path.at(0).toUpper() >= u'A' && path.at(0).toUpper() <= u'Z' && path.at(1) == u':';
}

} // namespace

LinuxDrives::LinuxDrives(QString rootDirectory, QueryPatience patience)
    : m_root(std::move(rootDirectory))
    , m_patience(patience)
{
    const QString canonical = QFileInfo(m_root).canonicalFilePath();
    m_prefix = canonical.isEmpty() ? m_root : canonical;
    if (m_prefix.endsWith(u'/'))
        m_prefix.chop(1);
    m_udev = std::make_shared<LinuxDriveLook::UdevNames>(m_prefix);
    // Asked for every answer of the moment (tests, the report), a build may wait for a slow mount point a while.
    m_mounts = std::make_unique<LinuxMountTable>(m_prefix,
                                                 patience.everyAnswer ? PatientDirectoryCheck : WindowDirectoryCheck);
}

LinuxDrives::~LinuxDrives() = default;

QByteArray LinuxDrives::onDisk(const QString &path) const
{
    return QFile::encodeName(m_prefix + path);
}

// --- The mount table -------------------------------------------------------

void LinuxDrives::refreshMounts()
{
    // One handler asks many times (a tick, the drive list of a page switch);
    // while mounts keep changing, one table serves the whole handler.
    if (m_tableTaken && *m_readThisPass)
        return;
    // The first table is waited for a little longer: the window's start names its drive from it.
    const std::chrono::milliseconds patience = m_tableTaken ? m_patience.wait
                                                            : std::max(m_patience.wait, FirstTablePatience);
    std::shared_ptr<const LinuxDriveTable> newest = m_mounts->newest(patience);
    m_tableTaken = true;
    if (newest == m_table)
        return;
    m_table = std::move(newest);
    forgetLooksOfGoneDrives();
    holdTableForThisPass();
}

void LinuxDrives::holdTableForThisPass()
{
    if (QThread::currentThread()->loopLevel() == 0)
        return; // no event loop, no handlers: every question takes the newest table
    *m_readThisPass = true;
    QTimer::singleShot(0, [readThisPass = m_readThisPass] { *readThisPass = false; });
}

void LinuxDrives::watchDrives(QObject *context, std::function<void()> changed)
{
    m_mounts->watch(context, std::move(changed));
}

// --- Drive queries ----------------------------------------------------------

const LinuxDrive *LinuxDrives::driveOfRoot(const QString &root)
{
    if (root.size() != 3 || !isLetterColon(root) || root.at(2) != u'\\')
        return nullptr;
    refreshMounts();
    return table().drive(root.at(0));
}

quint32 LinuxDrives::logicalDrives()
{
    refreshMounts();
    // Whoever lists the drives asks for their labels next: look at them all at once.
    for (const LinuxDrive &drive : table().drives())
        look(drive, m_driveDirectories.value(drive.letter, drive.mount.mountPoint), false);
    return table().letterMask();
}

DriveType LinuxDrives::driveType(const QString &root)
{
    const LinuxDrive *drive = driveOfRoot(root);
    return drive ? drive->type : DriveType::NoRootDir;
}

std::optional<VolumeInformation> LinuxDrives::volumeInformation(const QString &root)
{
    const LinuxDrive *drive = driveOfRoot(root);
    const std::shared_ptr<const LinuxDriveLook> found = drive ? look(*drive) : nullptr;
    return found ? found->volume : std::nullopt;
}

std::optional<QString> LinuxDrives::remoteName(const QString &localName)
{
    if (localName.size() != 2 || !isLetterColon(localName))
        return std::nullopt;
    refreshMounts();
    const LinuxDrive *drive = table().drive(localName.at(0));
    if (!drive || drive->type != DriveType::Remote)
        return std::nullopt;
    return drive->mount.source;
}

// --- Looks at a drive, on its worker -----------------------------------------

namespace {

QString mountKey(const LinuxDrive &drive)
{
    return drive.mount.mountPoint + u'\n' + drive.mount.source;
}

} // namespace

std::shared_ptr<const LinuxDriveLook> LinuxDrives::look(const LinuxDrive &drive, const QString &directory, bool wait)
{
    auto &query = m_looks[mountKey(drive)];
    if (!query)
        query = std::make_unique<BackgroundQuery<LinuxDriveLook>>();
    // The worker gets copies: it may outlive this object, blocked in the kernel.
    auto lookAt = [drive, prefix = m_prefix, directory, udev = m_udev] {
        return LinuxDriveLook::lookAt(drive, prefix, directory, *udev);
    };
    const std::chrono::milliseconds patience = wait ? m_patience.forQuery(query->answer() != nullptr) : Immediately;
    std::shared_ptr<const LinuxDriveLook> found = query->ask(lookAt, patience, DriveLookFreshFor);
    if (!wait || (found && found->directory == directory))
        return found;
    // The newest look asked about another directory: look again and wait for it, unless a look is still out.
    return query->ask(lookAt, m_patience.wait);
}

std::shared_ptr<const LinuxDriveLook> LinuxDrives::look(const LinuxDrive &drive)
{
    return look(drive, m_driveDirectories.value(drive.letter, drive.mount.mountPoint), true);
}

void LinuxDrives::forgetLooksOfGoneDrives()
{
    QSet<QString> present;
    for (const LinuxDrive &drive : table().drives())
        present.insert(mountKey(drive));
    std::erase_if(m_looks, [&](const auto &entry) { return !present.contains(entry.first); });
}

// --- Sizes of a drive --------------------------------------------------------

std::optional<quint64> LinuxDrives::totalBytes(const QString &root)
{
    const LinuxDrive *drive = driveOfRoot(root);
    const std::shared_ptr<const LinuxDriveLook> found = drive ? look(*drive) : nullptr;
    return found ? found->totalBytes : std::nullopt;
}

std::optional<quint64> LinuxDrives::freeBytesForCaller(const QString &root)
{
    const LinuxDrive *drive = driveOfRoot(root);
    const std::shared_ptr<const LinuxDriveLook> found = drive ? look(*drive) : nullptr;
    return found ? found->freeBytesForCaller : std::nullopt;
}

std::optional<DriveLocation> LinuxDrives::location(const QString &root)
{
    const LinuxDrive *drive = driveOfRoot(root);
    if (!drive)
        return std::nullopt;
    return DriveLocation{drive->mount.mountPoint, drive->mount.source};
}

// --- The current directory ----------------------------------------------------

std::optional<QString> LinuxDrives::processDirectory() const
{
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return std::nullopt;
    const QString path = QFile::decodeName(buffer);
    if (m_prefix.isEmpty())
        return path;
    if (path == m_prefix)
        return u"/"_s;
    if (path.startsWith(m_prefix + u'/'))
        return path.mid(m_prefix.size());
    return std::nullopt; // outside the tree standing in for "/"
}

// The process's directory at the first question, from then on the program's own.
std::optional<QString> LinuxDrives::systemCurrentDirectory()
{
    if (!m_current)
        m_current = processDirectory();
    return *m_current;
}

QString LinuxDrives::present(const QString &path)
{
    const LinuxDrive *drive = table().driveHolding(path);
    QString relative = drive ? path.mid(drive->mount.mountPoint.size()) : path;
    if (relative.startsWith(u'/'))
        relative.remove(0, 1);
    relative.replace(u'/', u'\\');
    QString presented = drive ? QString(drive->letter) + u":\\"_s + relative : u'\\' + relative;
    // Names may hold backslashes themselves: remember the way back.
    if (m_presented.size() >= PresentedPathLimit)
        m_presented.clear();
    m_presented.insert(presented, path);
    return presented;
}

QString LinuxDrives::currentDirectory()
{
    refreshMounts();
    const std::optional<QString> path = systemCurrentDirectory();
    return path ? present(*path) : QString();
}

std::optional<QString> LinuxDrives::systemPath(const QString &presented) const
{
    const LinuxDrive *drive = isLetterColon(presented) ? table().drive(presented.at(0)) : nullptr;
    if (isLetterColon(presented) && !drive)
        return std::nullopt; // the drive is gone
    if (const auto known = m_presented.constFind(presented); known != m_presented.cend())
        return *known;
    if (!drive) {
        if (!presented.startsWith(u'\\'))
            return std::nullopt;
        return QDir::cleanPath(QString(presented).replace(u'\\', u'/'));
    }
    if (presented.size() == 2) {
        // The directory last entered on the drive, while it is still on that drive; at first its mount point.
        const QString last = m_driveDirectories.value(drive->letter);
        const LinuxDrive *holder = last.isEmpty() ? nullptr : table().driveHolding(last);
        return holder && holder->letter == drive->letter ? last : drive->mount.mountPoint;
    }
    const QString relative = presented.mid(2).replace(u'\\', u'/');
    return QDir::cleanPath(drive->mount.mountPoint + u'/' + relative);
}

void LinuxDrives::rememberCurrentDirectory()
{
    const std::optional<QString> path = systemCurrentDirectory();
    if (!path)
        return;
    if (const LinuxDrive *drive = table().driveHolding(*path))
        m_driveDirectories.insert(drive->letter, *path);
}

bool LinuxDrives::mayEnter(const QString &path)
{
    const LinuxDrive *drive = table().driveHolding(path);
    const std::shared_ptr<const LinuxDriveLook> found = drive ? look(*drive, path, true) : nullptr;
    return found && found->directory == path && found->mayEnter;
}

// Judged as entering would judge it, but nothing is entered: a process that
// sits in a directory of a drive keeps that drive from being unmounted.
bool LinuxDrives::setCurrentDirectory(const QString &path)
{
    refreshMounts();
    rememberCurrentDirectory();
    const std::optional<QString> target = systemPath(path);
    if (!target || !mayEnter(*target))
        return false;
    m_current.emplace(target);
    rememberCurrentDirectory();
    return true;
}
