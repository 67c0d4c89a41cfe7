// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MachineReadings.h"

#include <chrono>

class Platform;

// The facts read straight from the platform, for the command line: no window,
// no display. Every source is asked at once on a thread of its own, and each
// drive on one of its own too; a source that has not answered within the time
// limit is missing, and the rest of the report still comes.
class PlatformFactReader
{
public:
    // How long the report waits for one source (the print server, a drive, the name server).
    static constexpr std::chrono::milliseconds SourceTimeLimit{2000};

    // Sources that did not answer in time are left running: the platform must
    // outlive the process's work.
    static MachineReadings read(Platform &platform, std::chrono::milliseconds timeLimit = SourceTimeLimit,
                                const Wording &words = Wording::shown());
};
