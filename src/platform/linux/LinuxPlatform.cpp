// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxPlatform.h"

#include "LinuxClock.h"
#include "LinuxShell.h"
#include "platform/linux/cpu/LinuxCpuid.h"
#include "platform/linux/cpu/LinuxProcessor.h"
#include "platform/linux/drives/LinuxDrives.h"
#include "platform/linux/drives/MountProbes.h"
#include "platform/linux/memory/LinuxMemory.h"
#include "platform/linux/network/LinuxNetwork.h"
#include "platform/linux/printers/LinuxPrinters.h"
#include "platform/linux/services/LinuxServices.h"
#include "platform/linux/software/LinuxRegistry.h"
#include "platform/linux/system/LinuxSystem.h"

LinuxPlatform::LinuxPlatform(const QString &rootDirectory, QueryPatience patience)
    : m_root(rootDirectory)
    , m_patience(patience)
    , m_cpuid(std::make_unique<LinuxCpuid>())
    , m_memory(std::make_unique<LinuxMemory>(rootDirectory))
    , m_drives(std::make_unique<LinuxDrives>(rootDirectory, patience))
    , m_services(std::make_unique<LinuxServices>(rootDirectory))
    , m_registry(std::make_unique<LinuxRegistry>(rootDirectory, patience))
    , m_printers(std::make_unique<LinuxPrinters>(patience))
    , m_network(std::make_unique<LinuxNetwork>(patience))
    , m_clock(std::make_unique<LinuxClock>())
    , m_shell(std::make_unique<LinuxShell>())
    , m_processor(std::make_unique<LinuxProcessor>(rootDirectory))
    , m_system(std::make_unique<LinuxSystem>(rootDirectory))
{
}

LinuxPlatform::~LinuxPlatform() = default;

void LinuxPlatform::startHelpers()
{
    MountProbes::instance().startIdleProbe();
}

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
ProcessorSource &LinuxPlatform::processor()
{
    return *m_processor;
}
SystemSource &LinuxPlatform::system()
{
    return *m_system;
}
std::unique_ptr<DriveSource> LinuxPlatform::separateDrives()
{
    return std::make_unique<LinuxDrives>(m_root, m_patience);
}
