// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxDrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/magic.h>
#include <poll.h>
#include <sys/statfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype PresentedPathLimit = 256;
constexpr std::chrono::milliseconds Immediately{0};
constexpr int ReadChunk = 16384;

bool isLetterColon(const QString &path)
{
    return path.size() >= 2 && path.at(0).toUpper() >= u'A' && path.at(0).toUpper() <= u'Z' && path.at(1) == u':';
}

// Closes a descriptor on every way out.
auto closing(int fd)
{
    return qScopeGuard([fd] {
        if (fd >= 0)
            ::close(fd);
    });
}

QByteArray readAll(int fd)
{
    QByteArray text;
    for (;;) {
        const qsizetype used = text.size();
        text.resize(used + ReadChunk);
        const ssize_t got = ::pread(fd, text.data() + used, ReadChunk, off_t(used));
        text.resize(used + qMax<ssize_t>(got, 0));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return text;
    }
}

bool sameStat(const struct stat &a, const struct stat &b)
{
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size
        && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(64).trimmed() : QByteArray();
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
}

LinuxDrives::~LinuxDrives()
{
    if (m_mountTableFd >= 0)
        ::close(m_mountTableFd);
}

QByteArray LinuxDrives::onDisk(const QString &path) const
{
    return QFile::encodeName(m_prefix + path);
}

// --- The mount table -------------------------------------------------------

bool LinuxDrives::mountTableChanged()
{
    if (m_mountTableFd >= 0) {
        // The kernel marks its table with a priority event after every mount and unmount.
        pollfd change{m_mountTableFd, POLLPRI, 0};
        return ::poll(&change, 1, 0) > 0 && (change.revents & (POLLPRI | POLLERR));
    }
    struct stat now
    { };
    if (::stat(onDisk(u"/proc/self/mountinfo"_s).constData(), &now) != 0)
        return m_mountTableStat.st_ino != 0;
    return !sameStat(now, m_mountTableStat);
}

QByteArray LinuxDrives::readMountTable()
{
    if (m_mountTableFd >= 0)
        return readAll(m_mountTableFd);
    const int fd = ::open(onDisk(u"/proc/self/mountinfo"_s).constData(), O_RDONLY | O_CLOEXEC);
    const auto closer = closing(fd);
    m_mountTableStat = {};
    if (fd < 0 || ::fstat(fd, &m_mountTableStat) != 0)
        return {};
    struct statfs system
    { };
    if (::fstatfs(fd, &system) == 0 && system.f_type == PROC_SUPER_MAGIC)
        m_mountTableFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    return readAll(fd);
}

void LinuxDrives::refreshMounts()
{
    const bool firstRead = m_mountTableFd < 0 && m_mountTableStat.st_ino == 0;
    // One handler asks many times (a tick, the drive list of a page switch);
    // while mounts keep changing, one reading serves the whole handler.
    if (!firstRead && *m_readThisPass)
        return;
    if (firstRead || mountTableChanged()) {
        m_table.update(MountInfoParser::parse(readMountTable()), probe());
        forgetLooksOfGoneDrives();
        holdTableForThisPass();
    }
}

void LinuxDrives::holdTableForThisPass()
{
    if (QThread::currentThread()->loopLevel() == 0)
        return; // no event loop, no handlers: every question reads afresh
    *m_readThisPass = true;
    QTimer::singleShot(0, [readThisPass = m_readThisPass] { *readThisPass = false; });
}

LinuxDriveTable::Probe LinuxDrives::probe() const
{
    return {[this](const QString &mountPoint) { return isDirectory(mountPoint); },
            [this](quint32 major, quint32 minor) {
                return isRemovable(major, minor);
            }};
}

bool LinuxDrives::isDirectory(const QString &mountPoint) const
{
    // From what the system has cached: a share whose server is gone must not hold up the window.
    struct statx about
    { };
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC;
    if (::statx(AT_FDCWD, onDisk(mountPoint).constData(), flags, STATX_TYPE, &about) != 0)
        return true; // unreadable: a directory someone else may enter
    return S_ISDIR(about.stx_mode);
}

bool LinuxDrives::isRemovable(quint32 major, quint32 minor) const
{
    const QString device = m_prefix + u"/sys/dev/block/%1:%2"_s.arg(major).arg(minor);
    if (readSmallFile(device + u"/removable"_s) == "1")
        return true;
    const QString sysfsPath = QFileInfo(device).canonicalFilePath();
    if (sysfsPath.isEmpty())
        return false;
    // A partition's disk is its parent in sysfs.
    if (readSmallFile(QFileInfo(sysfsPath).path() + u"/removable"_s) == "1")
        return true;
    return sysfsPath.contains(u"/usb"_s);
}

// --- Drive queries ----------------------------------------------------------

const LinuxDrive *LinuxDrives::driveOfRoot(const QString &root)
{
    if (root.size() != 3 || !isLetterColon(root) || root.at(2) != u'\\')
        return nullptr;
    refreshMounts();
    return m_table.drive(root.at(0));
}

quint32 LinuxDrives::logicalDrives()
{
    refreshMounts();
    // Whoever lists the drives asks for their labels next: look at them all at once.
    for (const LinuxDrive &drive : m_table.drives())
        look(drive, m_driveDirectories.value(drive.letter, drive.mount.mountPoint), false);
    return m_table.letterMask();
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
    const LinuxDrive *drive = m_table.drive(localName.at(0));
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
    for (const LinuxDrive &drive : m_table.drives())
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
    const LinuxDrive *drive = m_table.driveHolding(path);
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
    const LinuxDrive *drive = isLetterColon(presented) ? m_table.drive(presented.at(0)) : nullptr;
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
        const LinuxDrive *holder = last.isEmpty() ? nullptr : m_table.driveHolding(last);
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
    if (const LinuxDrive *drive = m_table.driveHolding(*path))
        m_driveDirectories.insert(drive->letter, *path);
}

bool LinuxDrives::mayEnter(const QString &path)
{
    const LinuxDrive *drive = m_table.driveHolding(path);
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
