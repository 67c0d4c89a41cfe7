// SPDX-License-Identifier: GPL-3.0-or-later
// `pelzora --report` from start to exit, as a user or a script runs it: on
// this machine, without a display, with and without a print server; beside it
// the floor of any start of the program (--version) and the report alone,
// inside one process.
#include "platform/linux/LinuxPlatform.h"
#include "report/PlatformFactReader.h"
#include "report/ReportBuilder.h"
#include "report/TextReportWriter.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// This process's environment without a display; without a print server too unless told to keep it.
std::vector<std::string> environmentWithout(bool keepPrintServer)
{
    std::vector<std::string> variables;
    for (char **variable = environ; *variable; ++variable) {
        const std::string entry(*variable);
        const bool display = entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0
            || entry.rfind("QT_QPA_PLATFORM=", 0) == 0;
        if (!display && entry.rfind("CUPS_SERVER=", 0) != 0)
            variables.push_back(entry);
    }
    if (!keepPrintServer)
        variables.emplace_back("CUPS_SERVER=/nonexistent/cups.sock");
    return variables;
}

// Runs the program with its output to /dev/null; its exit status.
int runProgram(const std::vector<const char *> &arguments, const std::vector<std::string> &environment)
{
    std::vector<char *> argv;
    argv.reserve(arguments.size() + 1);
    for (const char *argument : arguments)
        argv.push_back(const_cast<char *>(argument));
    argv.push_back(nullptr);
    std::vector<char *> envp;
    envp.reserve(environment.size() + 1);
    for (const std::string &variable : environment)
        envp.push_back(const_cast<char *>(variable.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void runEachIteration(benchmark::State &state, std::vector<const char *> arguments, bool keepPrintServer)
{
    const std::vector<std::string> environment = environmentWithout(keepPrintServer);
    arguments.insert(arguments.begin(), PELZORA_PROGRAM);
    for (auto _ : state)
        if (runProgram(arguments, environment) != 0)
            state.SkipWithError("the program did not exit with 0");
}

} // namespace

static void textReportWithoutPrintServer(benchmark::State &state)
{
    runEachIteration(state, {"--report"}, false);
}
BENCHMARK(textReportWithoutPrintServer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

static void jsonReportWithoutPrintServer(benchmark::State &state)
{
    runEachIteration(state, {"--report=json"}, false);
}
BENCHMARK(jsonReportWithoutPrintServer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// Whatever print server this machine's configuration names (none, if it has none running).
static void textReportWithThisMachinesPrintServer(benchmark::State &state)
{
    runEachIteration(state, {"--report"}, true);
}
BENCHMARK(textReportWithThisMachinesPrintServer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

static void markdownReportWithoutPrintServer(benchmark::State &state)
{
    runEachIteration(state, {"--report=markdown"}, false);
}
BENCHMARK(markdownReportWithoutPrintServer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// Loading the program and its libraries, parsing the command line, printing one line.
static void versionOnly(benchmark::State &state)
{
    runEachIteration(state, {"--version"}, false);
}
BENCHMARK(versionOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The report alone, in this process, on a platform made afresh each time.
static void reportInProcess(benchmark::State &state)
{
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    for (auto _ : state) {
        auto *platform = new LinuxPlatform;
        benchmark::DoNotOptimize(TextReportWriter::write(ReportBuilder::build(PlatformFactReader::read(*platform))));
        delete platform;
    }
}
BENCHMARK(reportInProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

int main(int argc, char **argv)
{
    const QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
