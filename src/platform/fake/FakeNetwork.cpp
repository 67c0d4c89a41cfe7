// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeNetwork.h"

#include "FakeMachine.h"

int FakeNetwork::startup(quint16)
{
    ++m_machine.networkStartups;
    return 0;
}

void FakeNetwork::cleanup()
{
    ++m_machine.networkCleanups;
}

std::optional<QByteArray> FakeNetwork::hostName()
{
    if (m_machine.host.nameFails)
        return std::nullopt;
    return m_machine.host.name;
}

std::optional<QList<quint32>> FakeNetwork::hostAddresses(const QByteArray &name)
{
    if (!m_machine.host.resolves || name != m_machine.host.name)
        return std::nullopt;
    return m_machine.host.addresses;
}
