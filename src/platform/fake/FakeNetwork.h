// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/NetworkSource.h"

struct FakeMachine;

class FakeNetwork final : public NetworkSource
{
public:
    explicit FakeNetwork(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    int startup(quint16 version) override;
    void cleanup() override;
    std::optional<QByteArray> hostName() override;
    std::optional<QList<quint32>> hostAddresses(const QByteArray &name) override;

private:
    FakeMachine &m_machine;
};
