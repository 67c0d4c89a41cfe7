// SPDX-License-Identifier: GPL-3.0-or-later
// The memory-status tick, as Timer2 runs it every 10 ms, on this machine's
// /proc/meminfo: with a fresh reading at each tick (the costly tick) and as the
// program runs it, where one reading serves the ticks of 200 ms. Then the
// reading and the parsing alone, to see where the time goes. Last the graph
// tick of Timer3 on the shown Memory page, with the repaint it causes
// (QT_SCALE_FACTOR=2 in the environment measures it on a 2x screen).
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/RereadFile.h"
#include "platform/linux/memory/LinuxMemory.h"
#include "platform/linux/memory/MeminfoParser.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// This machine, with a memory source that reads /proc/meminfo at every query.
class FreshMemoryPlatform final : public Platform
{
public:
    CpuidSource &cpuid() override { return m_linux.cpuid(); }
    MemorySource &memory() override { return m_memory; }
    DriveSource &drives() override { return m_linux.drives(); }
    ServiceSource &services() override { return m_linux.services(); }
    RegistrySource &registry() override { return m_linux.registry(); }
    PrinterSource &printers() override { return m_linux.printers(); }
    NetworkSource &network() override { return m_linux.network(); }
    ClockSource &clock() override { return m_linux.clock(); }
    ShellSource &shell() override { return m_linux.shell(); }
    SystemSource &system() override { return m_linux.system(); }

private:
    LinuxPlatform m_linux;
    LinuxMemory m_memory{QStringLiteral("/"), std::chrono::milliseconds(0)};
};

void runTicks(Platform &platform, benchmark::State &state)
{
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    window.show();
    QApplication::processEvents();
    for (auto _ : state)
        window.Timer2Timer();
}

} // namespace

static void memoryTickFreshReading(benchmark::State &state)
{
    FreshMemoryPlatform platform;
    runTicks(platform, state);
}
BENCHMARK(memoryTickFreshReading)->Unit(benchmark::kMicrosecond);

static void memoryTick(benchmark::State &state)
{
    LinuxPlatform platform;
    runTicks(platform, state);
}
BENCHMARK(memoryTick)->Unit(benchmark::kMicrosecond);

static void memoryStatusFreshReading(benchmark::State &state)
{
    LinuxMemory memory(QStringLiteral("/"), std::chrono::milliseconds(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(memory.globalMemoryStatus());
}
BENCHMARK(memoryStatusFreshReading)->Unit(benchmark::kMicrosecond);

static void meminfoRead(benchmark::State &state)
{
    RereadFile meminfo(QStringLiteral("/proc/meminfo"));
    for (auto _ : state)
        benchmark::DoNotOptimize(meminfo.read());
}
BENCHMARK(meminfoRead)->Unit(benchmark::kMicrosecond);

static void meminfoParse(benchmark::State &state)
{
    RereadFile file(QStringLiteral("/proc/meminfo"));
    const QByteArray meminfo = file.read().toByteArray();
    for (auto _ : state)
        benchmark::DoNotOptimize(MeminfoParser::memoryStatus(meminfo, false));
}
BENCHMARK(meminfoParse)->Unit(benchmark::kMicrosecond);

// One tick per pass; a wrap, which repaints the whole window, comes once every
// 310 passes, as often as in the program.
static void graphTick(benchmark::State &state)
{
    LinuxPlatform platform;
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    window.show();
    window.notebook()->setPageIndex(1);
    QApplication::processEvents();
    for (auto _ : state) {
        window.Timer3Timer();
        // Paints what the tick marked dirty; posted events only, so no other timer runs.
        QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }
}
BENCHMARK(graphTick)->Unit(benchmark::kMicrosecond);
