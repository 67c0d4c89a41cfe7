// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegistrySource.h"

struct FakeMachine;

class FakeRegistry final : public RegistrySource
{
public:
    explicit FakeRegistry(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    std::unique_ptr<RegistryKey> openKey(const QString &path) override;

private:
    FakeMachine &m_machine;
};
