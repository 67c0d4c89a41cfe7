// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxMountTable.h"

#include "MountProbes.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QObject>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <linux/magic.h>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <system_error>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int ReadChunk = 16384;
// While a build has had no answer about a mount point, it is tried again this often.
constexpr std::chrono::milliseconds RetryUnanswered{2000};

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

bool isRemovable(const QString &prefix, quint32 major, quint32 minor)
{
    const QString device = prefix + u"/sys/dev/block/%1:%2"_s.arg(major).arg(minor);
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

// What makes a mount at a place the same mount as before.
QString identity(const MountEntry &mount)
{
    return u"%1 %2 %3"_s.arg(mount.mountId).arg(mount.root, mount.source);
}

// One who asked to hear of changes; target lives on the asker's thread and goes with its context.
struct Notice
{
    std::mutex mutex;
    QObject *target = nullptr;
    std::function<void()> changed;
    std::atomic<bool> pending{false};
};

// What to run for a notice on its way; nothing once the table has gone.
std::function<void()> stillWanted(Notice &notice)
{
    const std::lock_guard lock(notice.mutex);
    return notice.changed;
}

void tell(const std::shared_ptr<Notice> &notice)
{
    const std::lock_guard lock(notice->mutex);
    if (!notice->target || notice->pending.exchange(true))
        return; // gone, or not yet told of the last change: that telling covers this one
    QMetaObject::invokeMethod(
        notice->target,
        [notice] {
            notice->pending = false;
            if (const std::function<void()> changed = stillWanted(*notice))
                changed();
        },
        Qt::QueuedConnection);
}

// Nothing more is told, not even what is on its way.
void silence(const std::shared_ptr<Notice> &notice)
{
    const std::lock_guard lock(notice->mutex);
    notice->target = nullptr;
    notice->changed = nullptr;
}

} // namespace

struct LinuxMountTable::State
{
    State(QString treePrefix, std::chrono::milliseconds patience)
        : prefix(std::move(treePrefix))
        , directoryPatience(patience)
    {
    }
    ~State()
    {
        if (wakeFd >= 0)
            ::close(wakeFd);
    }
    State(const State &) = delete;
    State &operator=(const State &) = delete;

    const QString prefix;
    const std::chrono::milliseconds directoryPatience;
    bool kernel = false;
    int wakeFd = -1; // the owner has gone, to the watching thread

    std::mutex mutex;
    std::condition_variable handedOver;
    std::shared_ptr<const LinuxDriveTable> table;
    QList<std::shared_ptr<Notice>> notices;

    // The builder's, one build at a time.
    struct DirectoryAnswer
    {
        QString identity;
        bool isDirectory = true;
    };
    std::mutex building;
    LinuxDriveTable drives;
    QHash<QString, DirectoryAnswer> directories; // by mount point
    struct stat fileStat
    { };
    bool fileRead = false;

    QString tablePath() const { return prefix + u"/proc/self/mountinfo"_s; }

    // With building held. False when a probe did not answer in time.
    bool build(QByteArrayView text)
    {
        const QList<MountEntry> mounts = MountInfoParser::parse(text);
        QHash<QString, QString> identities;
        identities.reserve(mounts.size());
        for (const MountEntry &mount : mounts)
            identities.insert(mount.mountPoint, identity(mount));
        const Clock::time_point deadline = Clock::now() + directoryPatience;
        bool answered = true;
        const LinuxDriveTable::Probe probe{[&](const QString &mountPoint) {
                                               return isDirectory(mountPoint, identities.value(mountPoint), deadline,
                                                                  answered);
                                           },
                                           [this](quint32 major, quint32 minor) {
                                               return isRemovable(prefix, major, minor);
                                           }};
        drives.update(mounts, probe);
        for (auto known = directories.begin(); known != directories.end();)
            known = identities.value(known.key()) == known->identity ? std::next(known) : directories.erase(known);
        handOver(std::make_shared<const LinuxDriveTable>(drives));
        return answered;
    }

    bool isDirectory(const QString &mountPoint, const QString &mountIdentity, Clock::time_point deadline,
                     bool &answered)
    {
        const auto known = directories.constFind(mountPoint);
        if (known != directories.cend() && known->identity == mountIdentity)
            return known->isDirectory;
        const QByteArray path = QFile::encodeName(prefix + mountPoint);
        MountProbeRequest request;
        request.question = MountProbeQuestion::IsDirectory;
        const std::optional<MountProbeReply> reply = MountProbes::instance().ask(path, request, path, {}, deadline,
                                                                                 false);
        if (!reply) {
            answered = false;
            return true; // not known: listed, as a directory someone else may enter is
        }
        if (reply->isDirectory < 0)
            return true; // unreadable: a directory someone else may enter
        directories.insert(mountPoint, {mountIdentity, reply->isDirectory == 1});
        return reply->isDirectory == 1;
    }

    void handOver(std::shared_ptr<const LinuxDriveTable> next)
    {
        QList<std::shared_ptr<Notice>> toTell;
        {
            const std::lock_guard lock(mutex);
            if (!table || table->drives() != next->drives())
                toTell = notices;
            table = std::move(next);
        }
        handedOver.notify_all();
        for (const std::shared_ptr<Notice> &notice : std::as_const(toTell))
            tell(notice);
    }

    // A plain file's table, read again when its status has changed.
    void refreshFile()
    {
        const std::lock_guard lock(building);
        struct stat now
        { };
        const QByteArray path = QFile::encodeName(tablePath());
        const bool exists = ::stat(path.constData(), &now) == 0;
        if (fileRead && (exists ? sameStat(now, fileStat) : fileStat.st_ino == 0))
            return;
        fileRead = true;
        fileStat = {};
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        QByteArray text;
        if (fd >= 0) {
            if (::fstat(fd, &fileStat) == 0)
                text = readAll(fd);
            ::close(fd);
        }
        build(text);
    }

    // True when the owner has gone while waiting (up to timeout; -1 for ever) for the table to change.
    static bool awaitChange(int tableFd, int wakeFd, int timeout)
    {
        pollfd events[2] = {{wakeFd, POLLIN, 0}, {tableFd, POLLPRI, 0}};
        while (::poll(events, tableFd >= 0 ? 2 : 1, timeout) < 0 && errno == EINTR) { }
        return events[0].revents != 0;
    }

    static void watch(const std::shared_ptr<State> &state, int tableFd)
    {
        for (;;) {
            bool answered = false;
            {
                const std::lock_guard lock(state->building);
                answered = state->build(readAll(tableFd));
            }
            // Let a storm of changes pass: one reading per gap at most, and one when it has passed.
            if (awaitChange(-1, state->wakeFd, int(MinimumGap.count())))
                break;
            if (awaitChange(tableFd, state->wakeFd, answered ? -1 : int(RetryUnanswered.count())))
                break;
        }
        ::close(tableFd);
    }
};

LinuxMountTable::LinuxMountTable(const QString &prefix, std::chrono::milliseconds directoryPatience)
    : m_state(std::make_shared<State>(prefix, directoryPatience))
{
    const int fd = ::open(QFile::encodeName(m_state->tablePath()).constData(), O_RDONLY | O_CLOEXEC);
    struct statfs system
    { };
    if (fd < 0 || ::fstatfs(fd, &system) != 0 || system.f_type != PROC_SUPER_MAGIC) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    m_state->wakeFd = ::eventfd(0, EFD_CLOEXEC);
    try {
        std::thread(State::watch, m_state, fd).detach();
        m_state->kernel = true;
    } catch (const std::system_error &) {
        // No thread to be had: the table is read by whoever asks, as a plain file is.
        ::close(fd);
    }
}

LinuxMountTable::~LinuxMountTable()
{
    QList<std::shared_ptr<Notice>> notices;
    {
        const std::lock_guard lock(m_state->mutex);
        notices.swap(m_state->notices);
    }
    for (const std::shared_ptr<Notice> &notice : std::as_const(notices))
        silence(notice);
    if (m_state->wakeFd >= 0) {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_state->wakeFd, &one, sizeof one);
    }
}

std::shared_ptr<const LinuxDriveTable> LinuxMountTable::newest(std::chrono::milliseconds patience)
{
    if (!m_state->kernel)
        m_state->refreshFile();
    std::unique_lock lock(m_state->mutex);
    m_state->handedOver.wait_for(lock, patience, [this] { return m_state->table != nullptr; });
    return m_state->table ? m_state->table : std::make_shared<const LinuxDriveTable>();
}

void LinuxMountTable::watch(QObject *context, std::function<void()> changed)
{
    auto notice = std::make_shared<Notice>();
    notice->changed = std::move(changed);
    auto *relay = new QObject(context);
    notice->target = relay;
    QObject::connect(relay, &QObject::destroyed, [notice] {
        const std::lock_guard lock(notice->mutex);
        notice->target = nullptr;
    });
    const std::lock_guard lock(m_state->mutex);
    m_state->notices.append(notice);
}
