// SPDX-License-Identifier: GPL-3.0-or-later
// The longest the window stops responding: the largest gap between two ticks
// of a 10 ms timer over 10 seconds of the real window, against a print server
// that takes connections and never answers (Linux backend, CUPS_SERVER), and
// against a fake machine whose drives and printers take 3 s to answer; and,
// as the yardstick of what the machine itself adds, a fake machine that
// answers at once; and this machine's own drives. Besides the longest stall,
// each reports when it ended.
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"
#include "platform/linux/LinuxPlatform.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int RunMs = 10000;
constexpr int TickMs = 10;

// Nanoseconds this thread has waited for a processor (the second figure of /proc/thread-self/schedstat).
qint64 runDelay(QFile &schedstat)
{
    if (!schedstat.isOpen() || !schedstat.seek(0))
        return 0;
    return schedstat.readAll().split(' ').value(1).toLongLong();
}

// Runs the event loop for RunMs and returns the largest gap between two 10 ms
// ticks; counts too the largest gap less the time the thread waited for a
// processor meanwhile, which leaves out what other work on the machine adds.
qint64 longestGap(benchmark::State &state)
{
    QElapsedTimer clock;
    QFile schedstat(u"/proc/thread-self/schedstat"_s);
    schedstat.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    qint64 last = 0;
    qint64 lastDelay = runDelay(schedstat);
    qint64 longest = 0;
    qint64 longestOwn = 0;
    qint64 longestEnded = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const qint64 delay = runDelay(schedstat);
        if (now - last > longest) {
            longest = now - last;
            longestEnded = now;
        }
        longestOwn = qMax(longestOwn, now - last - (delay - lastDelay));
        last = now;
        lastDelay = delay;
        ++ticks;
    });
    QEventLoop loop;
    QTimer::singleShot(RunMs, &loop, &QEventLoop::quit);
    clock.start();
    ticker.start(TickMs);
    loop.exec();
    state.counters["ticks"] = ticks;
    state.counters["ended_at_s"] = double(longestEnded) / 1e9;
    state.counters["own_stall_ms"] = double(longestOwn) / 1e6;
    return longest / 1000000; // whole milliseconds
}

void runWindow(benchmark::State &state, Platform &platform, int page)
{
    const FailureReport failureReport;
    TFormMain window(platform, failureReport);
    window.show();
    window.notebook()->setPageIndex(page);
    for (auto _ : state)
        state.counters["longest_stall_ms"] = double(longestGap(state));
}

} // namespace

static void silentPrintServer(benchmark::State &state)
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        qFatal("cannot listen: %s", qPrintable(server.errorString()));
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket *socket = server.nextPendingConnection())
            socket->setParent(&server); // held open, never answered
    });
    qputenv("CUPS_SERVER", "127.0.0.1:" + QByteArray::number(server.serverPort()));
    LinuxPlatform platform;
    runWindow(state, platform, 4);
    qunsetenv("CUPS_SERVER");
}
BENCHMARK(silentPrintServer)->Unit(benchmark::kSecond)->Iterations(1);

// This machine's drives on the Disk page, its drive list open: with
// bench/hung-mount.sh, a hung FUSE mount holding a bind mount among them.
static void thisMachinesDrives(benchmark::State &state)
{
    LinuxPlatform platform;
    runWindow(state, platform, 2);
}
BENCHMARK(thisMachinesDrives)->Unit(benchmark::kSecond)->Iterations(1);

static void fakeMachine(benchmark::State &state, const char *delays)
{
    FakeMachine machine;
    const QByteArray fixture = QByteArray(R"({ "delays": )") + delays + R"(,
            "drives": [ { "letter": "C", "type": 3, "label": "System", "totalBytes": 1048576 },
                        { "letter": "D", "type": 4, "remoteName": "//nas/share", "totalBytes": 1048576 } ],
            "printers": { "list": [ { "name": "P" } ], "default": "P" } })";
    FixtureLoader(u"fake machine"_s).apply(QJsonDocument::fromJson(fixture).object(), machine);
    FakePlatform platform(std::move(machine));
    runWindow(state, platform, 2);
}

static void slowDrivesAndPrinters(benchmark::State &state)
{
    fakeMachine(state, R"({ "printers": 3000, "drives": 3000 })");
}
BENCHMARK(slowDrivesAndPrinters)->Unit(benchmark::kSecond)->Iterations(1);

static void quickFakeMachine(benchmark::State &state)
{
    fakeMachine(state, "{}");
}
BENCHMARK(quickFakeMachine)->Unit(benchmark::kSecond)->Iterations(1);
