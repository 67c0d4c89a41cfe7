// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakePlatform.h"

#include "FakeClock.h"
#include "FakeCpuid.h"
#include "FakeDrives.h"
#include "FakeMemory.h"
#include "FakeNetwork.h"
#include "FakePrinters.h"
#include "FakeProcessor.h"
#include "FakeRegistry.h"
#include "FakeServices.h"
#include "FakeShell.h"
#include "FakeSystemSource.h"

FakePlatform::FakePlatform(FakeMachine machine)
    : m_machine(std::move(machine))
    , m_cpuid(std::make_unique<FakeCpuid>(m_machine))
    , m_memory(std::make_unique<FakeMemory>(m_machine))
    , m_drives(std::make_unique<FakeDrives>(m_machine))
    , m_services(std::make_unique<FakeServices>(m_machine))
    , m_registry(std::make_unique<FakeRegistry>(m_machine))
    , m_printers(std::make_unique<FakePrinters>(m_machine))
    , m_network(std::make_unique<FakeNetwork>(m_machine))
    , m_clock(std::make_unique<FakeClock>(m_machine))
    , m_shell(std::make_unique<FakeShell>(m_machine))
    , m_processor(std::make_unique<FakeProcessor>(m_machine))
    , m_system(std::make_unique<FakeSystemSource>(m_machine))
{
}

FakePlatform::~FakePlatform() = default;

void FakePlatform::drivesChanged()
{
    m_drives->drivesChanged();
}

CpuidSource &FakePlatform::cpuid()
{
    return *m_cpuid;
}
MemorySource &FakePlatform::memory()
{
    return *m_memory;
}
DriveSource &FakePlatform::drives()
{
    return *m_drives;
}
ServiceSource &FakePlatform::services()
{
    return *m_services;
}
RegistrySource &FakePlatform::registry()
{
    return *m_registry;
}
PrinterSource &FakePlatform::printers()
{
    return *m_printers;
}
NetworkSource &FakePlatform::network()
{
    return *m_network;
}
ClockSource &FakePlatform::clock()
{
    return *m_clock;
}
ShellSource &FakePlatform::shell()
{
    return *m_shell;
}
ProcessorSource &FakePlatform::processor()
{
    return *m_processor;
}
SystemSource &FakePlatform::system()
{
    return *m_system;
}
std::unique_ptr<DriveSource> FakePlatform::separateDrives()
{
    return std::make_unique<FakeDrives>(m_machine);
}
