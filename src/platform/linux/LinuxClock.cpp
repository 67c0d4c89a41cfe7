// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxClock.h"

#include <ctime>

quint64 LinuxClock::tickCount()
{
    // CLOCK_BOOTTIME keeps counting while the machine sleeps, as an uptime should.
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return 0;
    return quint64(now.tv_sec) * 1000u + quint64(now.tv_nsec) / 1000000u;
}
