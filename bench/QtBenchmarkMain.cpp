// SPDX-License-Identifier: GPL-3.0-or-later
// The main() of the benchmarks: Google Benchmark inside a headless Qt application,
// since the pages and their controls need one.
#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
