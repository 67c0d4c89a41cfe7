// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildOutput.h"

#include <QFile>
#include <QScopeGuard>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr qsizetype ReadChunk = 65536;
// After its output ends, a command has this long to exit before its group is ended.
constexpr std::chrono::milliseconds ExitGrace{1000};
constexpr unsigned long ReapPollMs = 5;

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return int(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

} // namespace

ChildOutput::ChildOutput(QString program, QStringList arguments, qsizetype limit, std::chrono::milliseconds timeLimit,
                         std::function<void(pid_t)> started)
    : m_program(std::move(program))
    , m_arguments(std::move(arguments))
    , m_limit(limit)
    , m_timeLimit(timeLimit)
    , m_started(std::move(started))
{
}

void ChildOutput::killGroup(pid_t group)
{
    if (group > 0)
        ::kill(-group, SIGKILL);
}

void ChildOutput::run()
{
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return;
    const auto closeReadEnd = qScopeGuard([&output] { ::close(output[0]); });
    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&files);
    ::posix_spawnattr_init(&attributes);
    const auto release = qScopeGuard([&] {
        ::posix_spawn_file_actions_destroy(&files);
        ::posix_spawnattr_destroy(&attributes);
    });
    ::posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&files, output[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // A group of its own, so that whatever it starts can be ended with it; signals as a shell would leave them.
    sigset_t none;
    sigset_t standard;
    ::sigemptyset(&none);
    ::sigemptyset(&standard);
    ::sigaddset(&standard, SIGPIPE);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    ::posix_spawnattr_setpgroup(&attributes, 0);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setsigdefault(&attributes, &standard);

    QList<QByteArray> words{QFile::encodeName(m_program)};
    for (const QString &argument : std::as_const(m_arguments))
        words.append(argument.toLocal8Bit());
    QList<char *> argv;
    for (QByteArray &word : words)
        argv.append(word.data());
    argv.append(nullptr);

    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, argv.constFirst(), &files, &attributes, argv.data(), environ);
    ::close(output[1]);
    if (spawned != 0)
        return;
    if (m_started)
        m_started(child);
    const Ending ending = read(output[0]);
    m_cut = ending == Ending::Cut;
    const bool exited = reap(child, ending != Ending::Finished);
    if (m_started)
        m_started(0);
    m_succeeded = exited || m_cut;
}

ChildOutput::Ending ChildOutput::read(int output)
{
    const Clock::time_point deadline = Clock::now() + m_timeLimit;
    for (;;) {
        pollfd readable{output, POLLIN, 0};
        const int polled = ::poll(&readable, 1, millisecondsUntil(deadline));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0)
            return Ending::TimedOut;
        const qsizetype used = m_bytes.size();
        const qsizetype wanted = std::min(ReadChunk, m_limit - used);
        m_bytes.resize(used + wanted);
        const ssize_t got = ::read(output, m_bytes.data() + used, size_t(wanted));
        m_bytes.resize(used + std::max<ssize_t>(got, 0));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return Ending::Finished;
        if (m_bytes.size() >= m_limit)
            return Ending::Cut;
    }
}

// True when the command exited by itself with status 0. Its group is ended
// before the command is reaped, while the group's number is still taken, so
// that nothing it started lives on and nothing else is hit.
bool ChildOutput::reap(pid_t child, bool killNow)
{
    const Clock::time_point deadline = Clock::now() + ExitGrace;
    siginfo_t ended{};
    if (!killNow)
        while (::waitid(P_PID, id_t(child), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == 0
               && Clock::now() < deadline)
            QThread::msleep(ReapPollMs);
    killGroup(child);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    return !killNow && ended.si_pid == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
