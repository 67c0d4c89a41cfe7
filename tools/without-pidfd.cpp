// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a command in which waitid() on a pidfd fails with EINVAL, as on a kernel
// older than 5.4:   without-pidfd COMMAND [ARGUMENT...]
//
// The cross build runs its tests under qemu-user through it. Qt's QProcess asks
// the kernel whether it can wait on pidfds and, when it can, starts children with
// clone(CLONE_PIDFD); the kernel can, but Debian 12's qemu-user (7.2) does not
// emulate that flag and fails every start with EINVAL. Refused here, the question
// sends Qt down its path for older kernels (fork and SIGCHLD), which qemu emulates.
// The filter is inherited: the programs the tests start see the same.
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

#ifndef P_PIDFD
#define P_PIDFD 3
#endif

namespace {

#if defined(__x86_64__)
constexpr unsigned hostArchitecture = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr unsigned hostArchitecture = AUDIT_ARCH_AARCH64;
#else
#error "without-pidfd knows the system-call numbers of x86-64 and arm64 hosts only"
#endif

constexpr unsigned argumentOffset(int index)
{
    return offsetof(seccomp_data, args) + index * sizeof(seccomp_data::args[0]);
}

bool refusePidfdWaits()
{
    std::array<sock_filter, 8> filter{{
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, hostArchitecture, 0, 5),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_waitid, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, argumentOffset(0)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, P_PIDFD, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EINVAL),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    }};
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    // No new privileges is what lets an ordinary user install a filter.
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fputs("usage: without-pidfd COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }
    if (!refusePidfdWaits()) {
        std::perror("without-pidfd: cannot install the system-call filter");
        return 126;
    }
    execvp(argv[1], argv + 1);
    std::fprintf(stderr, "without-pidfd: cannot run %s: %s\n", argv[1], std::strerror(errno));
    return 127;
}
