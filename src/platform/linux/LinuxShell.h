// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ShellSource.h"

class LinuxShell final : public ShellSource
{
public:
    bool open(const QString &target) override;
};
