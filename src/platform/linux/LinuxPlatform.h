// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"
#include "platform/QueryPatience.h"

#include <QString>

#include <memory>

class LinuxCpuid;
class LinuxMemory;
class LinuxDrives;
class LinuxServices;
class LinuxRegistry;
class LinuxPrinters;
class LinuxNetwork;
class LinuxClock;
class LinuxShell;
class LinuxProcessor;
class LinuxSystem;

// Answers every query from the running Linux system. rootDirectory stands in
// for "/" when reading files, so tests can point it at a tree of their own.
// Sources that may block (print server, mounted drives) are asked on worker
// threads; patience says how long the window waits for an answer it asks for.
class LinuxPlatform final : public Platform
{
public:
    explicit LinuxPlatform(const QString &rootDirectory = QStringLiteral("/"),
                           QueryPatience patience = QueryPatience::window());
    ~LinuxPlatform() override;

    // Starts, before the program has built anything, the helper processes its sources
    // will fork: a mount probe forked now shares only the little the process holds yet.
    static void startHelpers();

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
    QString m_root;
    QueryPatience m_patience;
    std::unique_ptr<LinuxCpuid> m_cpuid;
    std::unique_ptr<LinuxMemory> m_memory;
    std::unique_ptr<LinuxDrives> m_drives;
    std::unique_ptr<LinuxServices> m_services;
    std::unique_ptr<LinuxRegistry> m_registry;
    std::unique_ptr<LinuxPrinters> m_printers;
    std::unique_ptr<LinuxNetwork> m_network;
    std::unique_ptr<LinuxClock> m_clock;
    std::unique_ptr<LinuxShell> m_shell;
    std::unique_ptr<LinuxProcessor> m_processor;
    std::unique_ptr<LinuxSystem> m_system;
};
