#pragma once

#include <QString>

#include "platform/MemorySource.h"

class LinuxMemory final : public MemorySource
{
public:
    // rootDirectory stands for "/" when reading system files.
    explicit LinuxMemory(QString rootDirectory);

    MemoryStatus globalMemoryStatus() override;

private:
    QString m_root;
};
