// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The operating system as its release file names it.
struct OperatingSystem
{
    QString name; // "Debian GNU/Linux 12 (bookworm)"
    QString id; // "debian"; empty when the file has none
    QString versionId; // "12"; empty when the file has none
};

// The running kernel, as uname tells it.
struct KernelIdentity
{
    QString name; // "Linux"
    QString release; // "6.1.0-18-amd64"
    QString machine; // "x86_64"
};

// How many processors the system runs on now.
struct ProcessorCount
{
    std::optional<int> threads; // CPUs online
    std::optional<int> cores; // distinct cores among them
};

// The graphical session the program was started in.
struct DesktopSession
{
    QString desktop; // "GNOME", "KDE"; empty when none is named
    QString type; // "wayland", "x11", "tty"; empty when unknown
};

// The system itself: what it is, what it runs on, where it shows its windows.
// None of it changes while the program runs.
class SystemSource
{
public:
    virtual ~SystemSource() = default;

    // nullopt when the system does not name itself.
    virtual std::optional<OperatingSystem> operatingSystem() = 0;
    // nullopt when the kernel cannot be asked.
    virtual std::optional<KernelIdentity> kernel() = 0;
    virtual ProcessorCount processorCount() = 0;
    virtual DesktopSession desktopSession() = 0;
};
