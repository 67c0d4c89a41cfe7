// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemSource.h"

struct FakeMachine;

// The system of the fixture's "system" key; the release text is read as the Linux backend reads the file.
class FakeSystemSource final : public SystemSource
{
public:
    explicit FakeSystemSource(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    std::optional<OperatingSystem> operatingSystem() override;
    std::optional<KernelIdentity> kernel() override;
    ProcessorCount processorCount() override;
    DesktopSession desktopSession() override;

private:
    FakeMachine &m_machine;
};
