// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

#include <chrono>
#include <functional>
#include <sys/types.h>

// What a command writes to its standard output, read up to a limit and a time
// limit. The command runs in a process group of its own, with nothing on its
// standard input and its errors dropped; when it is cut short or overstays,
// the whole group is killed, so no child it started lives on.
class ChildOutput
{
public:
    // started receives the process group as soon as the command runs, and 0
    // once it is over: until then killGroup() on it ends the command.
    ChildOutput(QString program, QStringList arguments, qsizetype limit, std::chrono::milliseconds timeLimit,
                std::function<void(pid_t)> started = {});

    // Runs the command (found on PATH) and reads its output. Blocks: call it on a thread that may wait.
    void run();

    const QByteArray &bytes() const { return m_bytes; }
    // The output reached the limit: the rest was not read.
    bool cut() const { return m_cut; }
    // The command ended by itself with status 0 (a command that was cut short counts as ended well).
    bool succeeded() const { return m_succeeded; }

    static void killGroup(pid_t group);

private:
    enum class Ending { Finished, Cut, TimedOut };
    Ending read(int output);
    bool reap(pid_t child, bool killNow);

    QString m_program;
    QStringList m_arguments;
    qsizetype m_limit;
    std::chrono::milliseconds m_timeLimit;
    std::function<void(pid_t)> m_started;
    QByteArray m_bytes;
    bool m_cut = false;
    bool m_succeeded = false;
};
