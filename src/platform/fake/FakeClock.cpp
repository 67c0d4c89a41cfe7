// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeClock.h"

#include "FakeMachine.h"

quint64 FakeClock::tickCount()
{
    return m_machine.tickCount.take();
}
