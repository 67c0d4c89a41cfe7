// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MountProbeMessages.h"

// The mount probe's side: a process forked from the program that asks mounted
// file systems what the program wants to know, so that a file system that
// never answers (a hung FUSE or network mount) leaves only the probe waiting
// in the kernel, where no signal reaches it, and the program free to end.
//
// Everything here runs in a child forked from a process with many threads:
// system calls only, no allocation, no locks, no exceptions.
class MountProbeServer
{
public:
    // Answers requests from requestFd on replyFd until either pipe closes; never returns.
    [[noreturn]] static void serve(int requestFd, int replyFd);

    // path and directory end in NUL; directory may be empty.
    static MountProbeReply answer(const MountProbeRequest &request, const char *path, const char *directory);
};
