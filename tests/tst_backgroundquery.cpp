// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/BackgroundQuery.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <future>

using namespace std::chrono_literals;

namespace {

// A query that blocks until the test lets it go, as a hung file system does.
class Gate
{
public:
    std::function<int()> query(int answer)
    {
        auto opened = m_opened;
        auto calls = m_calls;
        return [opened, calls, answer] {
            ++*calls;
            opened->wait();
            return answer;
        };
    }
    void open() { m_promise.set_value(); }
    int calls() const { return *m_calls; }

private:
    std::promise<void> m_promise;
    std::shared_ptr<std::shared_future<void>> m_opened = std::make_shared<std::shared_future<void>>(
        m_promise.get_future().share());
    std::shared_ptr<std::atomic<int>> m_calls = std::make_shared<std::atomic<int>>(0);
};

} // namespace

class tst_BackgroundQuery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quickQueryAnswersInTheSameCall();
    void hungQueryGivesTheNewestAnswerThenFails();
    void ownerGoesAwayWhileAQueryHangs();
};

void tst_BackgroundQuery::quickQueryAnswersInTheSameCall()
{
    BackgroundQuery<int> query;
    QVERIFY(!query.answer());
    const auto first = query.ask([] { return 1; }, 1000ms);
    QVERIFY(first);
    QCOMPARE(*first, 1);
    QCOMPARE(*query.ask([] { return 2; }, 1000ms), 2);
    // A query that throws leaves the previous answer standing.
    QCOMPARE(*query.ask([]() -> int { throw std::runtime_error("gone"); }, 1000ms), 2);
}

void tst_BackgroundQuery::hungQueryGivesTheNewestAnswerThenFails()
{
    BackgroundQuery<int> query(300ms);
    QCOMPARE(*query.ask([] { return 1; }, 1000ms), 1);
    Gate gate;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(*query.ask(gate.query(2), 50ms), 1);
    QVERIFY(clock.elapsed() < 250);
    // While it hangs no second query starts, and no call waits for it.
    clock.start();
    for (int i = 0; i < 100; ++i)
        QCOMPARE(*query.ask(gate.query(3), 50ms), 1);
    QVERIFY(clock.elapsed() < 50);
    QTRY_VERIFY_WITH_TIMEOUT(!query.answer(), 1000);
    QCOMPARE(gate.calls(), 1);
    gate.open();
    QTRY_COMPARE_WITH_TIMEOUT(query.answer() ? *query.answer() : 0, 2, 1000);
    QVERIFY(!query.running());
}

void tst_BackgroundQuery::ownerGoesAwayWhileAQueryHangs()
{
    Gate gate;
    QElapsedTimer clock;
    clock.start();
    {
        BackgroundQuery<int> query;
        query.ask(gate.query(1));
        QTRY_COMPARE(gate.calls(), 1);
    }
    QVERIFY(clock.elapsed() < 1000);
    gate.open(); // the worker left behind ends on its own
}

QTEST_GUILESS_MAIN(tst_BackgroundQuery)
#include "tst_backgroundquery.moc"
