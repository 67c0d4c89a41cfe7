// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class ClockSource
{
public:
    virtual ~ClockSource() = default;

    // Milliseconds since the system started, suspended time included; never wraps.
    virtual quint64 tickCount() = 0;
};
