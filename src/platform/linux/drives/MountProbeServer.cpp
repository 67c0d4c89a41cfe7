// SPDX-License-Identifier: GPL-3.0-or-later
#include "MountProbeServer.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

bool readFully(int fd, void *buffer, std::size_t size)
{
    auto *at = static_cast<char *>(buffer);
    while (size > 0) {
        const ssize_t got = ::read(fd, at, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        at += got;
        size -= std::size_t(got);
    }
    return true;
}

bool writeFully(int fd, const void *buffer, std::size_t size)
{
    const auto *at = static_cast<const char *>(buffer);
    while (size > 0) {
        const ssize_t put = ::write(fd, at, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        at += put;
        size -= std::size_t(put);
    }
    return true;
}

// Reads a path of length bytes into buffer (PATH_MAX bytes), NUL-terminated.
bool readPath(int fd, std::uint32_t length, char *buffer)
{
    if (length >= PATH_MAX)
        return false;
    buffer[length] = '\0';
    return readFully(fd, buffer, length);
}

// The label from the file system itself, opened only for the question.
bool readLabel(const char *mountPoint, char (&label)[FSLABEL_MAX])
{
    const int directory = ::open(mountPoint, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (directory < 0)
        return false;
    const bool read = ::ioctl(directory, FS_IOC_GETFSLABEL, label) == 0;
    ::close(directory);
    label[FSLABEL_MAX - 1] = '\0';
    return read;
}

// As entering it would judge: a directory this process may search.
bool isEnterable(const char *path)
{
    struct stat about
    { };
    return ::stat(path, &about) == 0 && S_ISDIR(about.st_mode) && ::faccessat(AT_FDCWD, path, X_OK, AT_EACCESS) == 0;
}

} // namespace

MountProbeReply MountProbeServer::answer(const MountProbeRequest &request, const char *path, const char *directory)
{
    MountProbeReply reply;
    if (request.question == MountProbeQuestion::IsDirectory) {
        // From what the system has cached: nothing is asked of the file system that need not be.
        struct statx about
        { };
        const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC;
        reply.isDirectory = ::statx(AT_FDCWD, path, flags, STATX_TYPE, &about) != 0 ? -1 : S_ISDIR(about.stx_mode);
        return reply;
    }
    reply.mayEnter = directory[0] != '\0' && isEnterable(directory);
    // statfs, not statvfs: the library's statvfs may read the mount table, which allocates.
    struct statfs volume
    { };
    if (::statfs(path, &volume) != 0)
        return reply;
    const std::uint64_t fragment = volume.f_frsize != 0 ? std::uint64_t(volume.f_frsize)
                                                        : std::uint64_t(volume.f_bsize);
    reply.sizesKnown = 1;
    reply.totalBytes = std::uint64_t(volume.f_blocks) * fragment;
    // f_bavail, not f_bfree: blocks reserved for root are not the caller's.
    reply.freeBytesForCaller = std::uint64_t(volume.f_bavail) * fragment;
    reply.fileSystemId = std::uint32_t(volume.f_fsid.__val[0]);
    if (request.flags & MountProbeRequest::WantLabel)
        reply.labelKnown = readLabel(path, reply.label);
    return reply;
}

void MountProbeServer::serve(int requestFd, int replyFd)
{
    char path[PATH_MAX];
    char directory[PATH_MAX];
    for (;;) {
        MountProbeRequest request;
        if (!readFully(requestFd, &request, sizeof request) || !readPath(requestFd, request.pathLength, path)
            || !readPath(requestFd, request.directoryLength, directory))
            ::_exit(0);
        const MountProbeReply reply = answer(request, path, directory);
        if (!writeFully(replyFd, &reply, sizeof reply))
            ::_exit(0);
    }
}
