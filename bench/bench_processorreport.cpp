// Drawing the processor report once, as Timer1 does, on the real processor.
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "platform/linux/LinuxPlatform.h"

#include <QApplication>

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

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
