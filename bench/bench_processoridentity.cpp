// SPDX-License-Identifier: GPL-3.0-or-later
// What identifying a processor without the identification instruction adds to the
// start: reading and decoding the identity once, on the fake machine and on the
// Linux backend (real machines' trees under tests/data/cpuinfo, and this machine),
// and drawing the Processor page from it as Timer1 does.
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "pages/ProcessorIdentityReport.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"
#include "platform/linux/cpu/LinuxProcessor.h"

#include <benchmark/benchmark.h>

namespace {

QString dataOf(const char *machine)
{
    return QStringLiteral(PELZORA_TEST_DATA "/cpuinfo/") + QString::fromLatin1(machine);
}

// The fixture's own machine and auxiliary vector, as the test of the Linux backend gives them.
const ProcessFacts RockFive{QStringLiteral("aarch64"), 0x119fff, 0};
const ProcessFacts Kunpeng{QStringLiteral("aarch64"), 0x917fff, 0};

} // namespace

static void fakeIdentity(benchmark::State &state, const char *machine)
{
    FakePlatform platform(FixtureLoader::loadFile(dataOf(machine) + QStringLiteral(".json")));
    for (auto _ : state)
        benchmark::DoNotOptimize(ProcessorIdentityReport::lines(platform.processor().identity()));
}
BENCHMARK_CAPTURE(fakeIdentity, rk3588, "rk3588")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fakeIdentity, kunpeng920, "kunpeng-920")->Unit(benchmark::kMicrosecond);

// A backend made afresh each time, so every round reads the files.
static void linuxIdentity(benchmark::State &state, const char *machine, const ProcessFacts &process)
{
    for (auto _ : state) {
        const LinuxProcessor processor(dataOf(machine), process);
        benchmark::DoNotOptimize(ProcessorIdentityReport::lines(processor.identity()));
    }
}
BENCHMARK_CAPTURE(linuxIdentity, rk3588, "rk3588", RockFive)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(linuxIdentity, kunpeng920, "kunpeng-920", Kunpeng)->Unit(benchmark::kMicrosecond);

static void linuxIdentityOfThisMachine(benchmark::State &state)
{
    for (auto _ : state) {
        const LinuxProcessor processor(QStringLiteral("/"));
        benchmark::DoNotOptimize(processor.identity());
    }
}
BENCHMARK(linuxIdentityOfThisMachine)->Unit(benchmark::kMicrosecond);

// Timer1's whole run on an Arm machine, against the x86 report of the same window.
static void processorReport(benchmark::State &state, const char *fixture)
{
    FakePlatform platform(fixture[0] == '{' ? FixtureLoader::load(fixture, QStringLiteral("x86"))
                                            : FixtureLoader::loadFile(dataOf(fixture) + QStringLiteral(".json")));
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    for (auto _ : state)
        window.Timer1Timer();
}
BENCHMARK_CAPTURE(processorReport, rk3588, "rk3588")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(processorReport, x86, R"({ "cpuid": { "leaves": { "0x80000000": ["0x80000008", "0", "0", "0"] } } })")
    ->Unit(benchmark::kMicrosecond);
