// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BackgroundQuery.h"

#include <chrono>

// How long a question to a source asked on a worker thread waits for the
// query it starts. The window waits only while the source has never answered
// (briefly, so that a healthy source shows at once) and otherwise takes the
// newest answer, up to a tick old; the snapshot tool and the tests wait for
// the answer of the moment, as long as the time limit allows.
struct QueryPatience
{
    std::chrono::milliseconds wait = BackgroundQuery<int>::WindowPatience;
    bool everyAnswer = false;

    static QueryPatience window() { return {}; }
    static QueryPatience answerOfTheMoment() { return {BackgroundQuery<int>::DefaultTimeLimit, true}; }

    // For a query whose source has, or has not, given an answer already.
    std::chrono::milliseconds forQuery(bool hasAnswer) const
    {
        return everyAnswer || !hasAnswer ? wait : std::chrono::milliseconds(0);
    }
};
