// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the processor report once, as Timer1 does, on the real processor.
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "platform/linux/LinuxPlatform.h"

#include <benchmark/benchmark.h>

static void processorReport(benchmark::State &state)
{
    LinuxPlatform platform;
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    for (auto _ : state)
        window.Timer1Timer();
}
BENCHMARK(processorReport)->Unit(benchmark::kMicrosecond);
