// SPDX-License-Identifier: GPL-3.0-or-later
// The network and uptime steps of the per-second tick (address, name, uptime),
// and the system summary written once at start, on the running machine.
#include "pages/OtherPage.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/network/LinuxNetwork.h"

#include <benchmark/benchmark.h>

static void otherPageSteps(benchmark::State &state)
{
    LinuxPlatform platform;
    OtherPage page(platform.network(), platform.clock(), platform.system(), nullptr);
    for (auto _ : state) {
        page.writeAddress();
        page.writeHostName();
        page.writeUptime();
    }
    // 0 would mean the address step asked the resolver instead of the adapters.
    state.counters["adapterAddresses"] = double(LinuxNetwork::adapterAddresses(LinuxNetwork::interfaces()).size());
}
BENCHMARK(otherPageSteps)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

static void addressStep(benchmark::State &state)
{
    LinuxPlatform platform;
    OtherPage page(platform.network(), platform.clock(), platform.system(), nullptr);
    for (auto _ : state)
        page.writeAddress();
}
BENCHMARK(addressStep)->Unit(benchmark::kMicrosecond);

static void nameStep(benchmark::State &state)
{
    LinuxPlatform platform;
    OtherPage page(platform.network(), platform.clock(), platform.system(), nullptr);
    for (auto _ : state)
        page.writeHostName();
}
BENCHMARK(nameStep)->Unit(benchmark::kMicrosecond);

static void uptimeStep(benchmark::State &state)
{
    LinuxPlatform platform;
    OtherPage page(platform.network(), platform.clock(), platform.system(), nullptr);
    for (auto _ : state)
        page.writeUptime();
}
BENCHMARK(uptimeStep)->Unit(benchmark::kMicrosecond);

// What start-up adds for the system summary: os-release, uname, the CPU topology, the labels.
static void systemSummary(benchmark::State &state)
{
    LinuxPlatform platform;
    OtherPage page(platform.network(), platform.clock(), platform.system(), nullptr);
    for (auto _ : state)
        page.writeSystemSummary();
}
BENCHMARK(systemSummary)->Unit(benchmark::kMicrosecond);
