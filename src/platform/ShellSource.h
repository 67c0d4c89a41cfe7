// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ShellSource
{
public:
    virtual ~ShellSource() = default;

    // Opens a document or address with the program the desktop associates with it.
    virtual bool open(const QString &target) = 0;
};
