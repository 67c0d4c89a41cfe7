// SPDX-License-Identifier: GPL-3.0-or-later
// The probes' own bookkeeping, on file systems that answer (the hung ones: tst_hungmounts).
#include "platform/linux/drives/MountProbes.h"

#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

class tst_MountProbes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void probeStartedEarlyAnswersEveryLaterQuestion();
};

// The probe started before anything else is the one kept: a burst of questions
// leaves one idle probe, and the questions after it start none.
void tst_MountProbes::probeStartedEarlyAnswersEveryLaterQuestion()
{
    MountProbes &probes = MountProbes::instance();
    probes.startIdleProbe();
    probes.startIdleProbe();
    QCOMPARE(probes.started(), 1);
    const QByteArray root("/");
    const auto askRoot = [&] {
        return probes.ask(root, MountProbeRequest(), root, root, MountProbes::Clock::now() + std::chrono::seconds(5),
                          true);
    };
    for (int i = 0; i < 5; ++i)
        QVERIFY(askRoot().has_value());
    QCOMPARE(probes.started(), 1);

    constexpr int Askers = 4;
    std::vector<std::thread> askers;
    askers.reserve(Askers);
    std::atomic<int> answered = 0;
    for (int i = 0; i < Askers; ++i)
        askers.emplace_back([&] {
            for (int j = 0; j < 50; ++j)
                answered += askRoot().has_value();
        });
    for (std::thread &asker : askers)
        asker.join();
    QCOMPARE(answered.load(), 200);
    QCOMPARE(probes.idle(), 1);
    const int afterBurst = probes.started();
    QVERIFY(askRoot().has_value());
    QCOMPARE(probes.started(), afterBurst);
}

QTEST_GUILESS_MAIN(tst_MountProbes)
#include "tst_mountprobes.moc"
