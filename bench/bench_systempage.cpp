// SPDX-License-Identifier: GPL-3.0-or-later
// The System page's two fills on the Linux backend, over machine trees
// generated into a temporary directory: 5,000 dpkg packages and 500 systemd
// unit files. Each benchmark also counts how often the list redraws per fill.
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "controls/lists/TListBox.h"
#include "controls/lists/TListView.h"
#include "platform/linux/LinuxPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

constexpr int PackageCount = 5000;
constexpr int UnitCount = 500;

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A dpkg database of packages in shuffled order, mostly installed, with the
// fields and continuation lines of real stanzas.
QByteArray dpkgStatus(int count)
{
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());
    QByteArray status;
    for (const int i : order) {
        const QByteArray name = "lib" + QByteArray::number(i * 7919 % 100003, 36) + "-tools" + QByteArray::number(i);
        status += "Package: " + name
            + "\nStatus: install ok installed\nPriority: optional\nSection: libs\n"
              "Installed-Size: 1234\nMaintainer: Debian Team <team@lists.debian.org>\n"
              "Architecture: amd64\nMulti-Arch: same\nVersion: 1.2.3-4\nDepends: libc6 (>= 2.34)\n"
              "Conffiles:\n /etc/"
            + name
            + ".conf d41d8cd98f00b204e9800998ecf8427e\n"
              "Description: tools of "
            + name
            + "\n A package that the benchmark made up, with a long\n"
              " description over several lines as real packages have.\n .\n And a second paragraph.\n"
              "Homepage: https://example.org/"
            + name + "\n\n";
    }
    return status;
}

// Unit files as systemd packages ship them, some with drop-ins, aliases, masks and templates.
void writeUnits(const QString &root, int count)
{
    const QString vendor = root + u"/usr/lib/systemd/system/"_s;
    const QString admin = root + u"/etc/systemd/system/"_s;
    QDir().mkpath(admin);
    for (int i = 0; i < count; ++i) {
        const QString name = u"Daemon-%1"_s.arg(i * 7919 % 1009);
        writeFile(vendor + name + u".service"_s,
                  "[Unit]\nDescription=Daemon number " + QByteArray::number(i)
                      + "\nDocumentation=man:daemon(8)\nAfter=network.target\n\n[Service]\nType=notify\n"
                        "ExecStart=/usr/sbin/daemon --foreground\nRestart=on-failure\n\n[Install]\n"
                        "WantedBy=multi-user.target\n");
        if (i % 10 == 0)
            writeFile(admin + name + u".service.d/override.conf"_s, "[Unit]\nDescription=Overridden\n");
        if (i % 25 == 0)
            QFile::link(u"/dev/null"_s, admin + name + u".service"_s);
        if (i % 20 == 0)
            QFile::link(name + u".service"_s, vendor + u"alias-"_s + name + u".service"_s);
        if (i % 50 == 0)
            writeFile(vendor + u"template-%1@.service"_s.arg(i), "[Unit]\nDescription=Template %I\n");
    }
}

// The real window on the generated machine, showing the System page, with
// the paints of one list's viewport counted.
class Window
{
public:
    explicit Window(const QString &root, const QString &listName)
        : m_platform(root)
        , m_report([](const QString &) {})
        , m_window(m_platform, m_report)
    {
        m_window.notebook()->setPageIndex(3);
        m_window.show();
        m_list = m_window.findChild<QAbstractItemView *>(listName);
        m_counter.list = m_list;
        m_list->viewport()->installEventFilter(&m_counter);
        settle();
    }

    TFormMain &operator*() { return m_window; }
    QAbstractItemView *list() const { return m_list; }
    int paints() const { return m_counter.paints; }
    void resetPaints()
    {
        m_counter.paints = 0;
        m_counter.rowsPainted = 0;
    }

    // Runs the event loop until the list has painted with at least rows rows.
    void waitForPaint(int rows)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_counter.rowsPainted < rows && timer.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    static void settle()
    {
        QEventLoop loop;
        QTimer::singleShot(60, &loop, &QEventLoop::quit);
        loop.exec();
    }

private:
    struct PaintCounter : QObject
    {
        const QAbstractItemView *list = nullptr;
        int paints = 0;
        int rowsPainted = 0; // the rows the list held at its last paint
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (watched == list->viewport() && event->type() == QEvent::Paint) {
                ++paints;
                rowsPainted = list->model()->rowCount();
            }
            return false;
        }
    };

    LinuxPlatform m_platform;
    FailureReport m_report;
    TFormMain m_window;
    QAbstractItemView *m_list = nullptr;
    PaintCounter m_counter;
};

QTemporaryDir &softwareRoot()
{
    static QTemporaryDir root = [] {
        QTemporaryDir dir;
        writeFile(dir.path() + u"/var/lib/dpkg/status"_s, dpkgStatus(PackageCount));
        return dir;
    }();
    return root;
}

QTemporaryDir &servicesRoot()
{
    static QTemporaryDir root = [] {
        QTemporaryDir dir;
        writeUnits(dir.path(), UnitCount);
        return dir;
    }();
    return root;
}

// Timer6's handler. Where the registry gives a copy it only starts the reading on another thread:
// a fixed count of rounds, since the handler takes far less than the settling between rounds.
void softwareFill(benchmark::State &state)
{
    Window window(softwareRoot().path(), u"ListView1"_s);
    int fills = 0;
    int paints = 0;
    for (auto _ : state) {
        window.resetPaints();
        (*window).Timer6Timer();
        state.PauseTiming();
        window.waitForPaint(PackageCount);
        Window::settle();
        paints += window.paints();
        ++fills;
        state.ResumeTiming();
    }
    state.counters["items"] = window.list()->model()->rowCount();
    state.counters["redrawsPerFill"] = double(paints) / fills;
}
BENCHMARK(softwareFill)->Unit(benchmark::kMillisecond)->Iterations(50);

// From the handler's start until the filled list has been drawn on the screen.
void softwareFillToScreen(benchmark::State &state)
{
    Window window(softwareRoot().path(), u"ListView1"_s);
    for (auto _ : state) {
        window.resetPaints();
        (*window).Timer6Timer();
        window.waitForPaint(PackageCount);
        state.PauseTiming();
        Window::settle();
        state.ResumeTiming();
    }
}
BENCHMARK(softwareFillToScreen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Timer4's handler: read the unit files and list the services.
void servicesFill(benchmark::State &state)
{
    Window window(servicesRoot().path(), u"ListBox1"_s);
    auto *list = static_cast<TListBox *>(window.list());
    int fills = 0;
    int paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        list->clear();
        Window::settle();
        window.resetPaints();
        state.ResumeTiming();
        (*window).Timer4Timer();
        state.PauseTiming();
        Window::settle();
        paints += window.paints();
        ++fills;
        state.ResumeTiming();
    }
    state.counters["items"] = list->count();
    state.counters["redrawsPerFill"] = double(paints) / fills;
}
BENCHMARK(servicesFill)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
