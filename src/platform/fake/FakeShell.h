// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ShellSource.h"

struct FakeMachine;

class FakeShell final : public ShellSource
{
public:
    explicit FakeShell(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    bool open(const QString &target) override;

private:
    FakeMachine &m_machine;
};
