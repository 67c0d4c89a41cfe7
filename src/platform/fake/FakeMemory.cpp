// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeMemory.h"

#include "FakeMachine.h"

MemoryStatus FakeMemory::globalMemoryStatus()
{
    return m_machine.memory.take();
}
