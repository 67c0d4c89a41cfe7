// SPDX-License-Identifier: GPL-3.0-or-later
#include "MountProbes.h"

#include "MountProbeServer.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Probes that are not held by a hung mount; more than this and a question waits for one.
constexpr int MostFreeProbes = 4;
// A healthy file system answers a probe's question in well under this.
constexpr std::chrono::milliseconds HungAfter{500};
// Idle probes kept for the next questions: the window asks one question at a time but when mounts change.
constexpr int MostIdleProbes = 1;
// Probes in all: past this a question about another mount fails at once.
constexpr int MostProbes = 16;
constexpr int ProbeSocket = 3;

// In the forked child: only system calls from here on.
void resetSignals()
{
    struct sigaction standard
    { };
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        if (signal != SIGKILL && signal != SIGSTOP)
            ::sigaction(signal, &standard, nullptr);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

void closeFrom(int first, int limit)
{
    if (::close_range(unsigned(first), ~0U, 0) == 0)
        return;
    for (int fd = first; fd < limit; ++fd)
        ::close(fd);
}

// The second child: the probe, holding only its socket (and /dev/null as its
// standard files, so that it keeps no pipe of the program's open: a shell
// reading the program's output would wait for a probe hung in the kernel).
[[noreturn]] void becomeProbe(int socket, int descriptorLimit)
{
    const int kept = ::fcntl(socket, F_DUPFD, ProbeSocket);
    const int null = ::open("/dev/null", O_RDWR);
    if (kept < 0 || null < 0)
        ::_exit(1);
    for (int standard = 0; standard < ProbeSocket; ++standard)
        ::dup2(null, standard);
    ::dup2(kept, ProbeSocket);
    closeFrom(ProbeSocket + 1, descriptorLimit);
    // A probe that outlives the program must not keep the program's directory's drive busy.
    if (::chdir("/") != 0)
        ::_exit(1);
    resetSignals();
    ::prctl(PR_SET_NAME, "pelzora-probe", 0, 0, 0);
    MountProbeServer::serve(ProbeSocket, ProbeSocket);
}

int descriptorLimit()
{
    struct rlimit limit
    { };
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 65536;
    return int(std::min<rlim_t>(limit.rlim_cur, 1 << 20));
}

int millisecondsUntil(MountProbes::Clock::time_point deadline)
{
    if (deadline == MountProbes::Clock::time_point::max())
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - MountProbes::Clock::now());
    return int(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 1 << 30));
}

} // namespace

MountProbes &MountProbes::instance()
{
    static MountProbes *const probes = new MountProbes;
    return *probes;
}

void MountProbes::startIdleProbe()
{
    const std::lock_guard lock(m_mutex);
    if (m_started == 0)
        start();
}

int MountProbes::started() const
{
    const std::lock_guard lock(m_mutex);
    return m_started;
}

int MountProbes::hung() const
{
    const std::lock_guard lock(m_mutex);
    return hungCount();
}

int MountProbes::idle() const
{
    const std::lock_guard lock(m_mutex);
    return idleCount();
}

bool MountProbes::isHung(const Probe &probe)
{
    return probe.answerOwed && (!probe.asked || Clock::now() - probe.askedAt > HungAfter);
}

int MountProbes::hungCount() const
{
    return int(std::count_if(m_probes.cbegin(), m_probes.cend(), isHung));
}

int MountProbes::idleCount() const
{
    return int(std::count_if(m_probes.cbegin(), m_probes.cend(), [](const Probe &probe) { return !probe.answerOwed; }));
}

std::optional<MountProbeReply> MountProbes::ask(const QByteArray &mount, const MountProbeRequest &request,
                                                const QByteArray &path, const QByteArray &directory,
                                                Clock::time_point deadline, bool waitForHung)
{
    std::unique_lock lock(m_mutex);
    Choice choice;
    for (;;) {
        choice = choose(mount, waitForHung);
        if (choice.probe || choice.giveUp)
            break;
        if (Clock::now() >= deadline)
            return std::nullopt;
        // A busy probe may turn out hung without a word: look again now and then.
        m_freed.wait_until(lock, std::min(deadline, Clock::now() + HungAfter));
    }
    if (!choice.probe)
        return std::nullopt;
    Probe *probe = choice.probe;
    probe->mount = mount;
    probe->asked = true;
    probe->answerOwed = true;
    probe->askedAt = Clock::now();
    lock.unlock();
    MountProbeReply reply;
    const Outcome outcome = exchange(*probe, choice.drainFirst, message(request, path, directory), reply, deadline);
    lock.lock();
    probe->asked = false;
    if (outcome == Outcome::Answered) {
        probe->answerOwed = false;
        probe->mount.clear();
        if (idleCount() > MostIdleProbes)
            retire(newestIdle());
    } else if (outcome == Outcome::Broken) {
        retire(probe);
    }
    m_freed.notify_all();
    if (outcome != Outcome::Answered)
        return std::nullopt;
    return reply;
}

void MountProbes::reclaimAnswered()
{
    for (Probe &probe : m_probes) {
        if (!probe.answerOwed || probe.asked)
            continue;
        MountProbeReply late;
        pollfd ready{probe.socket, POLLIN, 0};
        // A whole answer is written at once; one that is not all there yet is taken later.
        if (::poll(&ready, 1, 0) == 1
            && ::recv(probe.socket, &late, sizeof late, MSG_DONTWAIT | MSG_PEEK) == sizeof late
            && ::recv(probe.socket, &late, sizeof late, MSG_DONTWAIT) == sizeof late) {
            probe.answerOwed = false;
            probe.mount.clear();
        }
    }
}

MountProbes::Choice MountProbes::choose(const QByteArray &mount, bool waitForHung)
{
    // A probe whose file system has answered at last is free again.
    reclaimAnswered();
    for (Probe &probe : m_probes) {
        if (!probe.answerOwed || probe.mount != mount)
            continue;
        if (!waitForHung && isHung(probe))
            return {nullptr, false, true};
        if (probe.asked)
            return {}; // asked now: wait for it
        return {&probe, true, false};
    }
    for (Probe &probe : m_probes)
        if (!probe.answerOwed)
            return {&probe, false, false};
    const int hung = hungCount();
    if (hung >= MostProbes)
        return {nullptr, false, true};
    if (int(m_probes.size()) - hung >= MostFreeProbes)
        return {}; // all busy: wait for one
    Probe *started = start();
    return {started, false, started == nullptr};
}

MountProbes::Probe *MountProbes::start()
{
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return nullptr;
    const int limit = descriptorLimit();
    // Forked twice: the first child ends at once, so the probe's parent is
    // the system's reaper, and nobody here ever waits for the probe itself.
    const pid_t middle = ::_Fork();
    if (middle == 0) {
        if (::_Fork() == 0)
            becomeProbe(sockets[1], limit);
        ::_exit(0);
    }
    ::close(sockets[1]);
    int status = 0;
    while (middle > 0 && ::waitpid(middle, &status, 0) < 0 && errno == EINTR) { }
    if (middle < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        ::close(sockets[0]);
        return nullptr;
    }
    ++m_started;
    Probe &probe = m_probes.emplace_back();
    probe.socket = sockets[0];
    return &probe;
}

const MountProbes::Probe *MountProbes::newestIdle() const
{
    const auto idle = std::find_if(m_probes.crbegin(), m_probes.crend(),
                                   [](const Probe &probe) { return !probe.answerOwed; });
    return idle == m_probes.crend() ? nullptr : &*idle;
}

void MountProbes::retire(const Probe *probe)
{
    // Closing its socket ends an idle probe; a hung one ends when its file system lets it.
    ::close(probe->socket);
    m_probes.remove_if([probe](const Probe &each) { return &each == probe; });
}

QByteArray MountProbes::message(const MountProbeRequest &request, const QByteArray &path, const QByteArray &directory)
{
    MountProbeRequest header = request;
    header.pathLength = std::uint32_t(path.size());
    header.directoryLength = std::uint32_t(directory.size());
    QByteArray bytes(reinterpret_cast<const char *>(&header), sizeof header);
    return bytes + path + directory;
}

MountProbes::Outcome MountProbes::exchange(const Probe &probe, bool drainFirst, const QByteArray &message,
                                           MountProbeReply &reply, Clock::time_point deadline)
{
    if (drainFirst) {
        // The answer to a question nobody waits for any more.
        const Outcome late = awaitReply(probe.socket, reply, deadline);
        if (late != Outcome::Answered)
            return late;
    }
    if (!send(probe.socket, message))
        return Outcome::Broken;
    return awaitReply(probe.socket, reply, deadline);
}

bool MountProbes::send(int socket, const QByteArray &message)
{
    qsizetype sent = 0;
    while (sent < message.size()) {
        const ssize_t put = ::send(socket, message.constData() + sent, size_t(message.size() - sent), MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        sent += put;
    }
    return true;
}

MountProbes::Outcome MountProbes::awaitReply(int socket, MountProbeReply &reply, Clock::time_point deadline)
{
    auto *into = reinterpret_cast<char *>(&reply);
    size_t got = 0;
    while (got < sizeof reply) {
        pollfd ready{socket, POLLIN, 0};
        const int polled = ::poll(&ready, 1, millisecondsUntil(deadline));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0)
            return got == 0 ? Outcome::TimedOut : Outcome::Broken; // half an answer: the stream is lost
        const ssize_t read = ::recv(socket, into + got, sizeof reply - got, 0);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return Outcome::Broken;
        got += size_t(read);
    }
    return Outcome::Answered;
}
