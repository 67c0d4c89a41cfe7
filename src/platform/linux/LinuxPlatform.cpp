// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxPlatform.h"

#include "LinuxClock.h"
#include "LinuxCpuid.h"
#include "LinuxDrives.h"
#include "LinuxMemory.h"
#include "LinuxNetwork.h"
#include "LinuxPrinters.h"
#include "LinuxRegistry.h"
#include "LinuxServices.h"
#include "LinuxShell.h"

LinuxPlatform::LinuxPlatform(const QString &rootDirectory, QueryPatience patience)
    : m_cpuid(std::make_unique<LinuxCpuid>())
    , m_memory(std::make_unique<LinuxMemory>(rootDirectory))
    , m_drives(std::make_unique<LinuxDrives>(rootDirectory, patience))
    , m_services(std::make_unique<LinuxServices>(rootDirectory))
    , m_registry(std::make_unique<LinuxRegistry>(rootDirectory))
    , m_printers(std::make_unique<LinuxPrinters>(patience))
    , m_network(std::make_unique<LinuxNetwork>())
    , m_clock(std::make_unique<LinuxClock>())
    , m_shell(std::make_unique<LinuxShell>())
{
}

LinuxPlatform::~LinuxPlatform() = default;

CpuidSource &LinuxPlatform::cpuid()
{
    return *m_cpuid;
}
MemorySource &LinuxPlatform::memory()
{
    return *m_memory;
}
DriveSource &LinuxPlatform::drives()
{
    return *m_drives;
}
ServiceSource &LinuxPlatform::services()
{
    return *m_services;
}
RegistrySource &LinuxPlatform::registry()
{
    return *m_registry;
}
PrinterSource &LinuxPlatform::printers()
{
    return *m_printers;
}
NetworkSource &LinuxPlatform::network()
{
    return *m_network;
}
ClockSource &LinuxPlatform::clock()
{
    return *m_clock;
}
ShellSource &LinuxPlatform::shell()
{
    return *m_shell;
}
