// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ServiceSource.h"

struct FakeMachine;

class FakeServices final : public ServiceSource
{
public:
    explicit FakeServices(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    std::unique_ptr<ServiceManager> openManager(quint32 access) override;

private:
    FakeMachine &m_machine;
};
