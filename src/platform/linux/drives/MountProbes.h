// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MountProbeMessages.h"

#include <QByteArray>

#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <optional>

// The program's mount probes: child processes (MountProbeServer) that ask
// mounted file systems on its behalf, over a pipe each. A question about a
// mount goes to an idle probe, or a new one; the caller waits on the pipe,
// where a signal still ends it, never in the file system. A probe that has not
// answered stays with its mount: every later question about that mount waits
// for it (or, when the caller cannot wait, fails at once), so one hung mount
// holds one probe and never starts another.
//
// Probes are forked from the process that asks, not started from a program
// file, so every program that links the core (the window, the report, the
// tests, the benchmarks, the snapshot tool) has them without finding one.
// A forked probe shares the process's pages until the process changes them,
// when each changed page is copied and the probe keeps the old one: a probe
// forked from a grown program comes to hold megabytes of its heap. So one
// idle probe is kept, the oldest: started early, while the process holds
// little, it is the one asked again and again (startIdleProbe). A
// probe ends when the program closes its pipe; one that waits in the kernel
// ends when the file system answers or is aborted. Nothing ever waits for a
// probe to end, and a probe's parent is gone at once (it is forked twice), so
// the system, not the program, reaps it.
class MountProbes
{
public:
    using Clock = std::chrono::steady_clock;

    // The probes of this process. Never destroyed: at exit nothing waits for them.
    static MountProbes &instance();

    // Asks the question about mount (the key by which probes stay with their
    // mounts) and waits for the answer until deadline. When the mount's probe
    // is still out with an earlier question: waits for it too if waitForHung,
    // else fails at once. nullopt when no answer came in time or no probe could be had.
    std::optional<MountProbeReply> ask(const QByteArray &mount, const MountProbeRequest &request,
                                       const QByteArray &path, const QByteArray &directory, Clock::time_point deadline,
                                       bool waitForHung);

    // Starts a probe now, to wait idle for the first question, unless one has been started.
    void startIdleProbe();

    // Probes started so far, those that seem hung and those idle, for tests and benchmarks.
    int started() const;
    int hung() const;
    int idle() const;

private:
    struct Probe
    {
        int socket = -1; // a stream socket pair: a pipe both ways that never raises SIGPIPE here
        QByteArray mount; // the mount of its last question, until it has answered
        bool asked = false; // someone is waiting for its answer
        bool answerOwed = false; // its last question is unanswered
        Clock::time_point askedAt; // of its last question
    };
    enum class Outcome { Answered, TimedOut, Broken };
    // What to do for a question: ask this probe (after taking the answer it still owes), wait, or give up.
    struct Choice
    {
        Probe *probe = nullptr;
        bool drainFirst = false;
        bool giveUp = false;
    };

    MountProbes() = default;

    // With the lock held.
    Choice choose(const QByteArray &mount, bool waitForHung);
    void reclaimAnswered();
    Probe *start();
    void retire(const Probe *probe);
    // The idle probe started last.
    const Probe *newestIdle() const;
    // A probe whose question nobody waits for, or that has been out too long for a healthy file system.
    static bool isHung(const Probe &probe);
    int hungCount() const;
    int idleCount() const;

    static Outcome exchange(const Probe &probe, bool drainFirst, const QByteArray &message, MountProbeReply &reply,
                            Clock::time_point deadline);
    static Outcome awaitReply(int socket, MountProbeReply &reply, Clock::time_point deadline);
    static bool send(int socket, const QByteArray &message);
    static QByteArray message(const MountProbeRequest &request, const QByteArray &path, const QByteArray &directory);

    mutable std::mutex m_mutex;
    std::condition_variable m_freed;
    std::list<Probe> m_probes;
    int m_started = 0;
};
