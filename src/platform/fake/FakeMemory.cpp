#include "FakeMemory.h"

#include "FakeMachine.h"

MemoryStatus FakeMemory::globalMemoryStatus()
{
    return m_machine.memory.take();
}
