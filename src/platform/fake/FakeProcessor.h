// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessorSource.h"

struct FakeMachine;

// The fixture's processor texts, read as the Linux backend reads the real files.
class FakeProcessor final : public ProcessorSource
{
public:
    explicit FakeProcessor(const FakeMachine &machine)
        : m_machine(machine)
    {
    }

    ProcessorIdentity identity() const override;

private:
    const FakeMachine &m_machine;
};
