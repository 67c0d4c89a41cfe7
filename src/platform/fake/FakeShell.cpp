// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeShell.h"

#include "FakeMachine.h"

bool FakeShell::open(const QString &target)
{
    m_machine.shellOpened.append(target);
    return m_machine.shellOpens.take(false);
}
