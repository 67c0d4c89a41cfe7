// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemSource.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The system from its release file, uname, /sys/devices/system/cpu and the
// session's environment. rootDirectory stands for "/" when reading files.
class LinuxSystem final : public SystemSource
{
public:
    explicit LinuxSystem(QString rootDirectory);

    std::optional<OperatingSystem> operatingSystem() override;
    std::optional<KernelIdentity> kernel() override;
    ProcessorCount processorCount() override;
    DesktopSession desktopSession() override;

    // The session type as the environment gives it: XDG_SESSION_TYPE, else a
    // Wayland or X display the session offers; empty when none.
    static QString sessionType(const QString &declared, bool waylandDisplay, bool xDisplay);

private:
    std::optional<QByteArray> readFile(const QString &absolutePath) const;

    QString m_root;
};
