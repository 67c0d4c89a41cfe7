#include "LinuxDrives.h"

#include "LinuxUdevLinks.h"
#include "LinuxVolumeIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype PresentedPathLimit = 256;
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

LinuxDrives::LinuxDrives(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
    const QString canonical = QFileInfo(m_root).canonicalFilePath();
    m_prefix = canonical.isEmpty() ? m_root : canonical;
    if (m_prefix.endsWith(u'/'))
        m_prefix.chop(1);
    m_labels = std::make_unique<LinuxUdevLinks>(m_prefix + u"/dev/disk/by-label"_s);
    m_uuids = std::make_unique<LinuxUdevLinks>(m_prefix + u"/dev/disk/by-uuid"_s);
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
    if (!drive)
        return std::nullopt;
    struct statvfs volume
    { };
    if (::statvfs(onDisk(drive->mount.mountPoint).constData(), &volume) != 0)
        return std::nullopt;
    VolumeInformation information;
    information.volumeName = volumeLabel(*drive);
    information.serialNumber = udevSerial(*drive).value_or(quint32(volume.f_fsid & 0xFFFFFFFFu));
    information.fileSystemName = drive->mount.fileSystemType;
    return information;
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

QString LinuxDrives::volumeLabel(const LinuxDrive &drive)
{
    if (const std::optional<QString> label = udevName(*m_labels, drive))
        return *label;
    if (drive.type == DriveType::Remote)
        return {};
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK;
    const int directory = ::open(onDisk(drive.mount.mountPoint).constData(), flags);
    const auto closer = closing(directory);
    char label[FSLABEL_MAX] = {};
    if (directory < 0 || ::ioctl(directory, FS_IOC_GETFSLABEL, label) != 0)
        return {};
    return QString::fromUtf8(label, qstrnlen(label, sizeof label));
}

std::optional<quint32> LinuxDrives::udevSerial(const LinuxDrive &drive)
{
    const std::optional<QString> uuid = udevName(*m_uuids, drive);
    return uuid ? LinuxVolumeIds::serialFromUuid(*uuid) : std::nullopt;
}

std::optional<QString> LinuxDrives::udevName(LinuxUdevLinks &links, const LinuxDrive &drive) const
{
    if (!drive.mount.source.startsWith(u"/dev/"_s))
        return std::nullopt; // no device behind it
    return links.nameOf(m_prefix + drive.mount.source);
}

// --- Sizes of the current drive ------------------------------------------------

std::optional<quint64> LinuxDrives::totalBytes()
{
    struct statvfs volume
    { };
    if (::statvfs(".", &volume) != 0)
        return std::nullopt;
    return quint64(volume.f_blocks) * volume.f_frsize;
}

std::optional<quint64> LinuxDrives::freeBytesForCaller()
{
    // f_bavail, not f_bfree: blocks reserved for root are not the caller's.
    struct statvfs volume
    { };
    if (::statvfs(".", &volume) != 0)
        return std::nullopt;
    return quint64(volume.f_bavail) * volume.f_frsize;
}

// --- The current directory ----------------------------------------------------

std::optional<QString> LinuxDrives::systemCurrentDirectory() const
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

bool LinuxDrives::setCurrentDirectory(const QString &path)
{
    refreshMounts();
    rememberCurrentDirectory();
    const std::optional<QString> target = systemPath(path);
    if (!target || ::chdir(onDisk(*target).constData()) != 0)
        return false;
    rememberCurrentDirectory();
    return true;
}
