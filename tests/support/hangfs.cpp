// SPDX-License-Identifier: GPL-3.0-or-later
// A file system that hangs on demand, for tests of what a hung mount does to
// the program: a FUSE server speaking the kernel's protocol (<linux/fuse.h>)
// with a root directory that holds one empty directory, "sub". It mounts
// itself (root only) at the directory it is given, prints "ready", and then
// answers every request until a line "hang" comes on its standard input;
// from then on it takes each request and never answers, so whoever asks waits
// in the kernel where no signal reaches. At the end of its input it ends,
// which aborts the connection and lets every waiter go.
#include <linux/fuse.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint64_t SubNode = 2;

void reply(int fuse, uint64_t unique, int error, const void *body = nullptr, size_t size = 0)
{
    fuse_out_header header{};
    header.len = uint32_t(sizeof header + size);
    header.error = -error;
    header.unique = unique;
    std::vector<char> message(sizeof header + size);
    std::memcpy(message.data(), &header, sizeof header);
    if (size > 0)
        std::memcpy(message.data() + sizeof header, body, size);
    [[maybe_unused]] const ssize_t written = ::write(fuse, message.data(), message.size());
}

fuse_attr directoryAttributes(uint64_t node)
{
    fuse_attr attributes{};
    attributes.ino = node;
    attributes.mode = S_IFDIR | 0755;
    attributes.nlink = 2;
    attributes.blksize = 4096;
    return attributes;
}

void answer(int fuse, const fuse_in_header &request, const char *body)
{
    switch (request.opcode) {
    case FUSE_INIT: {
        fuse_init_in in{};
        std::memcpy(&in, body, std::min(sizeof in, size_t(request.len - sizeof request)));
        fuse_init_out out{};
        out.major = FUSE_KERNEL_VERSION;
        out.minor = FUSE_KERNEL_MINOR_VERSION;
        out.max_readahead = in.max_readahead;
        out.max_background = 16;
        out.congestion_threshold = 12;
        out.max_write = 4096;
        out.time_gran = 1;
        reply(fuse, request.unique, 0, &out, sizeof out);
        return;
    }
    case FUSE_LOOKUP: {
        if (request.nodeid != FUSE_ROOT_ID || std::strcmp(body, "sub") != 0) {
            reply(fuse, request.unique, ENOENT);
            return;
        }
        fuse_entry_out entry{};
        entry.nodeid = SubNode;
        entry.generation = 1;
        entry.attr = directoryAttributes(SubNode); // valid for no time: every walk asks again
        reply(fuse, request.unique, 0, &entry, sizeof entry);
        return;
    }
    case FUSE_GETATTR: {
        fuse_attr_out out{};
        out.attr = directoryAttributes(request.nodeid);
        reply(fuse, request.unique, 0, &out, sizeof out);
        return;
    }
    case FUSE_STATFS: {
        fuse_statfs_out out{};
        out.st.blocks = 1024;
        out.st.bfree = 512;
        out.st.bavail = 256;
        out.st.bsize = 4096;
        out.st.frsize = 4096;
        out.st.namelen = 255;
        reply(fuse, request.unique, 0, &out, sizeof out);
        return;
    }
    case FUSE_OPENDIR: {
        fuse_open_out out{};
        reply(fuse, request.unique, 0, &out, sizeof out);
        return;
    }
    case FUSE_READDIR:
    case FUSE_RELEASEDIR:
    case FUSE_ACCESS:
        reply(fuse, request.unique, 0);
        return;
    case FUSE_FORGET:
    case FUSE_BATCH_FORGET:
    case FUSE_INTERRUPT:
        return; // no answer expected
    default:
        reply(fuse, request.unique, ENOSYS);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s MOUNT-POINT\n", argv[0]);
        return 2;
    }
    const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    const std::string options = "fd=" + std::to_string(fuse) + ",rootmode=40000,user_id=0,group_id=0,allow_other";
    if (fuse < 0 || ::mount("hangfs", argv[1], "fuse.hangfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        std::fprintf(stderr, "hangfs: cannot mount at %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    bool hanging = false;
    std::vector<char> buffer(FUSE_MIN_READ_BUFFER + 1024 * 1024);
    std::string input;
    for (;;) {
        pollfd events[2] = {{fuse, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (::poll(events, 2, -1) < 0 && errno != EINTR)
            return 1;
        if (events[1].revents) {
            char line[64];
            const ssize_t got = ::read(STDIN_FILENO, line, sizeof line);
            if (got <= 0)
                return 0; // closing /dev/fuse aborts the connection
            input.append(line, size_t(got));
            hanging = hanging || input.find("hang\n") != std::string::npos;
        }
        if (!events[0].revents)
            continue;
        const ssize_t got = ::read(fuse, buffer.data(), buffer.size());
        if (got < 0 && (errno == EINTR || errno == ENOENT || errno == EAGAIN))
            continue;
        if (got < ssize_t(sizeof(fuse_in_header)))
            return got < 0 && errno == ENODEV ? 0 : 1; // unmounted
        fuse_in_header request{};
        std::memcpy(&request, buffer.data(), sizeof request);
        if (!hanging || request.opcode == FUSE_INIT)
            answer(fuse, request, buffer.data() + sizeof request);
    }
}
