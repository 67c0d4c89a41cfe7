// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <linux/fs.h>

// What the program and its mount probe (MountProbeServer) say to each other
// over their pipes. Both sides are one program, forked, never another build:
// the layout needs no version.

enum class MountProbeQuestion : std::uint32_t {
    // The file system's sizes and id, its label on request, and whether a directory may be entered.
    Look = 1,
    // Whether a path is a directory, from what the system has cached.
    IsDirectory = 2,
};

// Followed by pathLength bytes of the path (a mount point), then
// directoryLength bytes of a directory on it; no NULs.
struct MountProbeRequest
{
    static constexpr std::uint32_t WantLabel = 1;

    MountProbeQuestion question = MountProbeQuestion::Look;
    std::uint32_t flags = 0;
    std::uint32_t pathLength = 0;
    std::uint32_t directoryLength = 0;
};

struct MountProbeReply
{
    std::int32_t sizesKnown = 0; // statfs answered
    std::int32_t labelKnown = 0; // the file system told its label
    std::int32_t mayEnter = 0;
    std::int32_t isDirectory = 0; // -1: the path cannot be read
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytesForCaller = 0;
    std::uint64_t fileSystemId = 0; // the low 32 bits of f_fsid
    char label[FSLABEL_MAX] = {};
};
