// SPDX-License-Identifier: GPL-3.0-or-later
// One tick of Timer7 on the printer page through the Linux backend: against a
// private CUPS scheduler with three queues, then with no scheduler running.
// Besides the mean, each run reports the median tick as median_ms. The
// scheduler is asked on a worker: back-to-back ticks mostly find the round
// still out and answer from the previous one, which is what the window's own
// thread pays then; tickAskingAfresh is a tick as the window meets it.
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/CupsScheduler.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

CupsScheduler *scheduler = nullptr;

// The list is built at the first tick and kept, so that tick runs before the clock does.
void ticks(benchmark::State &state)
{
    LinuxPlatform platform;
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    window.Timer7Timer();
    std::vector<qint64> nanoseconds;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        window.Timer7Timer();
        nanoseconds.push_back(clock.nsecsElapsed());
    }
    std::nth_element(nanoseconds.begin(), nanoseconds.begin() + nanoseconds.size() / 2, nanoseconds.end());
    state.counters["median_ms"] = double(nanoseconds[nanoseconds.size() / 2]) / 1e6;
}

void tickWithThreeQueues(benchmark::State &state)
{
    ticks(state);
}

// As the window ticks, once a second: the previous round has long answered, so
// each tick asks the scheduler afresh and waits for the answer (a moment at most).
void tickAskingAfresh(benchmark::State &state)
{
    LinuxPlatform platform;
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    window.Timer7Timer();
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        state.ResumeTiming();
        window.Timer7Timer();
    }
}

void tickWithoutScheduler(benchmark::State &state)
{
    scheduler->stop();
    ticks(state);
}

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "bench_printerpage: %s: %s\n", what, qPrintable(scheduler->error()));
    std::exit(1);
}

} // namespace

BENCHMARK(tickWithThreeQueues)->Unit(benchmark::kMillisecond);
BENCHMARK(tickAskingAfresh)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(tickWithoutScheduler)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CupsScheduler privateScheduler;
    scheduler = &privateScheduler;
    QApplication application(argc, argv);
    const QString ppd = QStringLiteral(PELZORA_TEST_DATA "/printers/");
    if (!scheduler->start())
        fail("starting the scheduler");
    if (!scheduler->addQueue(QStringLiteral("A"), ppd + QStringLiteral("colour-600.ppd"))
        || !scheduler->addQueue(QStringLiteral("B"), ppd + QStringLiteral("mono-300.ppd"))
        || !scheduler->addQueue(QStringLiteral("C"), ppd + QStringLiteral("colour-1200x600.ppd"))
        || !scheduler->setDefault(QStringLiteral("B")))
        fail("adding the queues");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
