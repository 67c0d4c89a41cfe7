// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinuxDriveTable.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class QObject;

// The drive table of the mount table, built where nobody waits for it. The
// kernel's table (/proc/self/mountinfo) is watched on a thread of its own: it
// marks every mount and unmount with a priority event (see proc(5)), after
// which the thread reads the table again, builds the drives from it (asking a
// mount probe whether a bind mount is a directory: the one question that goes
// beneath a mount point) and hands the finished table over. A storm of
// changes is read at most every MinimumGap, and once more when it has passed.
// A plain file standing in for the table (a test's tree) is read again by
// whoever asks, when its status has changed.
class LinuxMountTable
{
public:
    static constexpr std::chrono::milliseconds MinimumGap{50};

    // prefix: the tree standing for "/", without its trailing slash ("" for "/");
    // directoryPatience: how long a build waits for a probe to say whether a mount point is a directory.
    LinuxMountTable(const QString &prefix, std::chrono::milliseconds directoryPatience);
    ~LinuxMountTable();
    LinuxMountTable(const LinuxMountTable &) = delete;
    LinuxMountTable &operator=(const LinuxMountTable &) = delete;

    // The newest table, waiting up to patience while there is none yet; an
    // empty table when none has come in time.
    std::shared_ptr<const LinuxDriveTable> newest(std::chrono::milliseconds patience);

    // changed runs on context's thread after a new table with other drives has
    // been handed over, once for any number of them, never after context is destroyed.
    void watch(QObject *context, std::function<void()> changed);

private:
    struct State;
    std::shared_ptr<State> m_state;
};
