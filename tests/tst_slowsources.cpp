// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FailureReport.h"
#include "app/TTimer.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "controls/text/TLabel.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"
#include "platform/linux/LinuxPlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A print server that takes every connection and never says a word.
class SilentPrintServer
{
public:
    SilentPrintServer()
    {
        if (!m_server.listen(QHostAddress::LocalHost))
            qFatal("cannot listen: %s", qPrintable(m_server.errorString()));
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                socket->setParent(&m_server); // held open, never answered
        });
    }

    QByteArray address() const { return "127.0.0.1:" + QByteArray::number(m_server.serverPort()); }

private:
    QTcpServer m_server;
};

// The real window on a platform, its memory graph's steps timed.
class TimedWindow
{
public:
    explicit TimedWindow(std::unique_ptr<Platform> platform)
        : m_platform(std::move(platform))
        , m_failureReport([this](const QString &message) { m_reports.append(message); })
        , m_window(std::make_unique<TFormMain>(*m_platform, m_failureReport))
    {
        QObject::connect(m_window->timers().at(2), &TTimer::timeout, [this] { m_steps.append(m_clock.elapsed()); });
        m_clock.start();
        m_window->show();
    }

    TFormMain &window() { return *m_window; }
    const QStringList &reports() const { return m_reports; }
    qsizetype steps() const { return m_steps.size(); }

    qint64 longestGapBetweenSteps() const
    {
        qint64 longest = 0;
        for (qsizetype i = 1; i < m_steps.size(); ++i)
            longest = qMax(longest, m_steps.at(i) - m_steps.at(i - 1));
        return longest;
    }

    // Milliseconds the window and its platform take to go away.
    qint64 close()
    {
        QElapsedTimer clock;
        clock.start();
        m_window->close();
        m_window.reset();
        m_platform.reset();
        return clock.elapsed();
    }

private:
    std::unique_ptr<Platform> m_platform;
    FailureReport m_failureReport;
    QStringList m_reports;
    std::unique_ptr<TFormMain> m_window;
    QElapsedTimer m_clock;
    QList<qint64> m_steps;
};

std::unique_ptr<FakePlatform> fakeMachine(const QByteArray &json)
{
    FakeMachine machine;
    FixtureLoader(u"test fixture"_s).apply(QJsonDocument::fromJson(json).object(), machine);
    return std::make_unique<FakePlatform>(std::move(machine));
}

// Four seconds of a 200 ms graph: generous bounds for a busy machine, far
// from the second or more that one blocked query would hold the window.
constexpr int RunMs = 4000;
constexpr qsizetype FewestSteps = 14;
constexpr qint64 LongestGapMs = 450;
constexpr qint64 LongestCloseMs = 1000;

} // namespace

class tst_SlowSources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowKeepsTickingAgainstASilentPrintServer();
    void windowKeepsTickingWithSlowDrivesAndPrinters();
    void slowAnswersArriveLater();
};

void tst_SlowSources::windowKeepsTickingAgainstASilentPrintServer()
{
    SilentPrintServer server;
    qputenv("CUPS_SERVER", server.address());
    TimedWindow timed(std::make_unique<LinuxPlatform>());
    timed.window().notebook()->setPageIndex(4);
    QTest::qWait(RunMs);
    qunsetenv("CUPS_SERVER");
    QVERIFY2(timed.steps() >= FewestSteps, qPrintable(u"%1 graph steps"_s.arg(timed.steps())));
    QVERIFY2(timed.longestGapBetweenSteps() < LongestGapMs,
             qPrintable(u"a gap of %1 ms"_s.arg(timed.longestGapBetweenSteps())));
    QCOMPARE(timed.reports(), QStringList());
    QVERIFY(timed.close() < LongestCloseMs);
}

void tst_SlowSources::windowKeepsTickingWithSlowDrivesAndPrinters()
{
    TimedWindow timed(fakeMachine(R"({ "delays": { "printers": 3000, "drives": 3000 },
        "drives": [ { "letter": "C", "type": 3, "label": "System", "totalBytes": 1048576 } ],
        "printers": { "list": [ { "name": "P" } ], "default": "P" } })"));
    timed.window().notebook()->setPageIndex(2);
    QTest::qWait(RunMs);
    QVERIFY2(timed.steps() >= FewestSteps, qPrintable(u"%1 graph steps"_s.arg(timed.steps())));
    QVERIFY2(timed.longestGapBetweenSteps() < LongestGapMs,
             qPrintable(u"a gap of %1 ms"_s.arg(timed.longestGapBetweenSteps())));
    QCOMPARE(timed.reports(), QStringList());
    QVERIFY(timed.close() < LongestCloseMs);
}

// Until a slow drive first answers it reads as one that fails; then its answers show.
void tst_SlowSources::slowAnswersArriveLater()
{
    TimedWindow timed(fakeMachine(R"({ "delays": { "drives": 700 },
        "drives": [ { "letter": "C", "type": 3, "label": "System", "serial": "0x0A1B2C3D", "fileSystem": "NTFS",
                      "totalBytes": 1048576, "freeBytes": 1048576 } ] })"));
    timed.window().notebook()->setPageIndex(2);
    QApplication::processEvents();
    const auto *serial = timed.window().findChild<TLabel *>(u"Label16"_s);
    const auto *total = timed.window().findChild<TLabel *>(u"Label22"_s);
    QVERIFY(serial && total);
    QCOMPARE(serial->caption(), u"Label =    VolSer = 00000000"_s);
    QCOMPARE(total->caption(), u"0 MB"_s);
    QTRY_COMPARE_WITH_TIMEOUT(serial->caption(), u"Label = System   VolSer = 0A1B2C3D"_s, 4000);
    QTRY_COMPARE_WITH_TIMEOUT(total->caption(), u"1 MB"_s, 2000);
}

QTEST_MAIN(tst_SlowSources)
#include "tst_slowsources.moc"
