// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DriveSource.h"

#include <memory>

class CpuidSource;
class MemorySource;
class ServiceSource;
class RegistrySource;
class PrinterSource;
class NetworkSource;
class ClockSource;
class ShellSource;
class ProcessorSource;
class SystemSource;

// Everything the pages ask of the operating system, one source per domain.
class Platform
{
public:
    virtual ~Platform() = default;

    virtual CpuidSource &cpuid() = 0;
    virtual MemorySource &memory() = 0;
    virtual DriveSource &drives() = 0;
    virtual ServiceSource &services() = 0;
    virtual RegistrySource &registry() = 0;
    virtual PrinterSource &printers() = 0;
    virtual NetworkSource &network() = 0;
    virtual ClockSource &clock() = 0;
    virtual ShellSource &shell() = 0;
    // The processors' identity beyond the identification instruction; a platform
    // that does not know it answers an empty identity.
    virtual ProcessorSource &processor();
    virtual SystemSource &system() = 0;

    // A drive source of its own, to ask one drive on a thread of its own while
    // others ask theirs: drives() serves one thread at a time. nullptr where the
    // platform has none to give, and then drives() is asked one drive after another.
    virtual std::unique_ptr<DriveSource> separateDrives() { return nullptr; }
};
