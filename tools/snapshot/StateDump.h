// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QStringList>

struct FakeMachine;
class Platform;
class TFormMain;

// The window's state as JSON: every named control with its kind, place,
// texts and contents, the timers, the graph and what the program did.
class StateDump
{
public:
    // machine is null when the window runs against the real system.
    static QJsonObject capture(const TFormMain &window, Platform &platform, const FakeMachine *machine,
                               const QStringList &reports);
};
