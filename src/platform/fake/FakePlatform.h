// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeMachine.h"
#include "platform/Platform.h"

#include <memory>

class FakeClock;
class FakeCpuid;
class FakeDrives;
class FakeMemory;
class FakeNetwork;
class FakePrinters;
class FakeRegistry;
class FakeServices;
class FakeShell;
class FakeProcessor;
class FakeSystemSource;

// A machine read from a fixture: every query answers from machine().
class FakePlatform final : public Platform
{
public:
    explicit FakePlatform(FakeMachine machine = FakeMachine());
    ~FakePlatform() override;

    FakeMachine &machine() { return m_machine; }
    // After the machine's drives have been replaced: what a mount or an unmount tells.
    void drivesChanged();

    CpuidSource &cpuid() override;
    MemorySource &memory() override;
    DriveSource &drives() override;
    ServiceSource &services() override;
    RegistrySource &registry() override;
    PrinterSource &printers() override;
    NetworkSource &network() override;
    ClockSource &clock() override;
    ShellSource &shell() override;
    ProcessorSource &processor() override;
    SystemSource &system() override;
    std::unique_ptr<DriveSource> separateDrives() override;

private:
    FakeMachine m_machine;
    std::unique_ptr<FakeCpuid> m_cpuid;
    std::unique_ptr<FakeMemory> m_memory;
    std::unique_ptr<FakeDrives> m_drives;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<FakeRegistry> m_registry;
    std::unique_ptr<FakePrinters> m_printers;
    std::unique_ptr<FakeNetwork> m_network;
    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<FakeShell> m_shell;
    std::unique_ptr<FakeProcessor> m_processor;
    std::unique_ptr<FakeSystemSource> m_system;
};
