#include "LinuxMemory.h"

LinuxMemory::LinuxMemory(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

MemoryStatus LinuxMemory::globalMemoryStatus()
{
    return {};
}
