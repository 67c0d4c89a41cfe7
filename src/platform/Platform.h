// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CpuidSource;
class MemorySource;
class DriveSource;
class ServiceSource;
class RegistrySource;
class PrinterSource;
class NetworkSource;
class ClockSource;
class ShellSource;

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
};
