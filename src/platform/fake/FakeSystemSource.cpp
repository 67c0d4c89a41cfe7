// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSystemSource.h"

#include "FakeMachine.h"
#include "platform/linux/system/OsRelease.h"

std::optional<OperatingSystem> FakeSystemSource::operatingSystem()
{
    const std::optional<QByteArray> &text = m_machine.system.osRelease;
    return text ? std::optional(OsRelease::operatingSystem(*text)) : std::nullopt;
}

std::optional<KernelIdentity> FakeSystemSource::kernel()
{
    const FakeSystem &system = m_machine.system;
    if (!system.kernelName && !system.kernelRelease && !system.machine)
        return std::nullopt;
    return KernelIdentity{system.kernelName.value_or(QStringLiteral("Linux")), system.kernelRelease.value_or(QString()),
                          system.machine.value_or(QStringLiteral("x86_64"))};
}

ProcessorCount FakeSystemSource::processorCount()
{
    return {m_machine.system.onlineCpus, m_machine.system.cores};
}

DesktopSession FakeSystemSource::desktopSession()
{
    return {m_machine.system.desktop, m_machine.system.session};
}
