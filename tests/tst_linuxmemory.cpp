// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Failure.h"
#include "platform/linux/memory/LinuxMemory.h"
#include "platform/linux/memory/MeminfoParser.h"
#include "support/TestData.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Copies of /proc/meminfo, each in a tree of its own standing for "/".
QString root(const char *name)
{
    return QStringLiteral(PELZORA_TEST_DATA "/meminfo/") + QString::fromLatin1(name);
}

QByteArray meminfoOf(const char *name)
{
    return testData(root(name) + u"/proc/meminfo"_s);
}

constexpr quint64 KiB = 1024;

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

} // namespace

class tst_LinuxMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusFromRealCopies_data();
    void statusFromRealCopies();
    void strictOvercommitUsesTheCommitLimit();
    void committedBeyondTheLimitLeavesNothingAvailable();
    void brokenTextFailsClearly_data();
    void brokenTextFailsClearly();
    void overcommitModeText();
    void backendReadsTheTreeItIsGiven();
    void backendReadsTheFileAgainAtEachQuery();
    void oneReadingAnswersUntilItIsTooOld();
    void backendWithoutMeminfoFailsAndRecovers();
};

void tst_LinuxMemory::statusFromRealCopies_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<quint64>("availPhys");
    QTest::addColumn<quint64>("totalPageFile");
    QTest::addColumn<quint64>("availPageFile");
    QTest::addColumn<quint32>("load");
    // 24 GiB of memory, no swap: the page file is the memory itself.
    QTest::newRow("plain") << u"plain"_s << 23602816 * KiB << 24683748 * KiB << 23602816 * KiB << 4u;
    QTest::newRow("swap") << u"swap"_s << 23602816 * KiB << (24683748 + 4194300) * KiB << (23602816 + 3932156) * KiB
                          << 4u;
    // Without MemAvailable: MemFree + Buffers + Cached.
    QTest::newRow("old kernel") << u"old-kernel"_s << (21705896 + 9468 + 2056312) * KiB << 24683748 * KiB
                                << (21705896 + 9468 + 2056312) * KiB << 3u;
}

void tst_LinuxMemory::statusFromRealCopies()
{
    QFETCH(QString, tree);
    QFETCH(quint64, availPhys);
    QFETCH(quint64, totalPageFile);
    QFETCH(quint64, availPageFile);
    QFETCH(quint32, load);
    const MemoryStatus status = MeminfoParser::memoryStatus(meminfoOf(qPrintable(tree)), false);
    QCOMPARE(status.totalPhys, 24683748 * KiB); // above 4 GiB, never clamped to 32 bits
    QCOMPARE(status.availPhys, availPhys);
    QCOMPARE(status.totalPageFile, totalPageFile);
    QCOMPARE(status.availPageFile, availPageFile);
    QCOMPARE(status.memoryLoad, load);
}

void tst_LinuxMemory::strictOvercommitUsesTheCommitLimit()
{
    const MemoryStatus status = MeminfoParser::memoryStatus(meminfoOf("strict"), true);
    QCOMPARE(status.totalPageFile, 16536172 * KiB);
    QCOMPARE(status.availPageFile, (16536172 - 1207936) * KiB);
    QCOMPARE(status.totalPhys, 24683748 * KiB);
    QCOMPARE(status.availPhys, 23602816 * KiB);
}

void tst_LinuxMemory::committedBeyondTheLimitLeavesNothingAvailable()
{
    const QByteArray meminfo = "MemTotal: 1000 kB\nMemAvailable: 1500 kB\n"
                               "CommitLimit: 800 kB\nCommitted_AS: 900 kB\n";
    const MemoryStatus status = MeminfoParser::memoryStatus(meminfo, true);
    QCOMPARE(status.totalPageFile, 800 * KiB);
    QCOMPARE(status.availPageFile, 0u);
    QCOMPARE(status.memoryLoad, 0u); // more available than there is counts as none in use
}

void tst_LinuxMemory::brokenTextFailsClearly_data()
{
    QTest::addColumn<QByteArray>("meminfo");
    QTest::addColumn<QString>("message");
    QTest::newRow("truncated copy") << meminfoOf("truncated") << u"/proc/meminfo: SwapTotal is missing"_s;
    QTest::newRow("garbled copy") << meminfoOf("garbled") << u"/proc/meminfo: MemTotal is not a count of kB"_s;
    QTest::newRow("cut in a number") << QByteArray("MemTotal:       2468")
                                     << u"/proc/meminfo: MemTotal is not a count of kB"_s;
    QTest::newRow("empty") << QByteArray() << u"/proc/meminfo: MemTotal is missing"_s;
    QTest::newRow("binary") << QByteArray("\x7f"
                                          "ELF\0\0:\xff\xfe\n:\n\n",
                                          13)
                            << u"/proc/meminfo: MemTotal is missing"_s;
    QTest::newRow("no MemFree to stand in")
        << QByteArray("MemTotal: 1 kB\nBuffers: 1 kB\nCached: 1 kB\n") << u"/proc/meminfo: MemFree is missing"_s;
    QTest::newRow("negative") << QByteArray("MemTotal: -5 kB\n") << u"/proc/meminfo: MemTotal is not a count of kB"_s;
    QTest::newRow("beyond 64 bits in bytes")
        << QByteArray("MemTotal: 18014398509481984 kB\n") << u"/proc/meminfo: MemTotal is too large"_s;
}

void tst_LinuxMemory::brokenTextFailsClearly()
{
    QFETCH(QByteArray, meminfo);
    QFETCH(QString, message);
    try {
        MeminfoParser::memoryStatus(meminfo, false);
        QFAIL("no failure");
    } catch (const Failure &failure) {
        QCOMPARE(failure.message(), message);
    }
}

void tst_LinuxMemory::overcommitModeText()
{
    QVERIFY(MeminfoParser::isCommitLimitEnforced("2\n"));
    QVERIFY(!MeminfoParser::isCommitLimitEnforced("0\n"));
    QVERIFY(!MeminfoParser::isCommitLimitEnforced("1\n"));
    QVERIFY(!MeminfoParser::isCommitLimitEnforced("22\n"));
    QVERIFY(!MeminfoParser::isCommitLimitEnforced(""));
}

void tst_LinuxMemory::backendReadsTheTreeItIsGiven()
{
    LinuxMemory plain(root("plain"));
    QCOMPARE(plain.globalMemoryStatus().totalPageFile, 24683748 * KiB);
    // The tree's overcommit_memory says 2.
    LinuxMemory strict(root("strict"));
    QCOMPARE(strict.globalMemoryStatus().totalPageFile, 16536172 * KiB);
}

void tst_LinuxMemory::backendReadsTheFileAgainAtEachQuery()
{
    QTemporaryDir tree;
    QVERIFY(QDir(tree.path()).mkpath(u"proc/sys/vm"_s));
    const QString meminfo = tree.filePath(u"proc/meminfo"_s);
    QVERIFY(writeFile(meminfo, meminfoOf("swap")));
    LinuxMemory memory(tree.path(), std::chrono::milliseconds(0));
    // No overcommit setting at all: the kernel's default mode.
    QCOMPARE(memory.globalMemoryStatus().totalPageFile, (24683748 + 4194300) * KiB);

    QVERIFY(writeFile(meminfo,
                      "MemTotal: 2048 kB\nMemAvailable: 512 kB\nSwapTotal: 4096 kB\nSwapFree: 1024 kB\n"
                          + QByteArray(9000, ' ') + '\n')); // larger than a first read takes
    const MemoryStatus status = memory.globalMemoryStatus();
    QCOMPARE(status.totalPhys, 2048 * KiB);
    QCOMPARE(status.memoryLoad, 75u);
    QCOMPARE(status.availPageFile, 1536 * KiB);
}

void tst_LinuxMemory::oneReadingAnswersUntilItIsTooOld()
{
    QTemporaryDir tree;
    QVERIFY(QDir(tree.path()).mkpath(u"proc"_s));
    const QString meminfo = tree.filePath(u"proc/meminfo"_s);
    QVERIFY(writeFile(meminfo, meminfoOf("plain")));
    LinuxMemory memory(tree.path(), std::chrono::hours(1));
    QCOMPARE(memory.globalMemoryStatus().totalPhys, 24683748 * KiB);
    QVERIFY(writeFile(meminfo, "garbage"));
    QCOMPARE(memory.globalMemoryStatus().totalPhys, 24683748 * KiB);
}

void tst_LinuxMemory::backendWithoutMeminfoFailsAndRecovers()
{
    QTemporaryDir tree;
    LinuxMemory memory(tree.path());
    // A failed reading is not kept: the next query reads again.
    QVERIFY_THROWS_EXCEPTION(Failure, memory.globalMemoryStatus());
    QVERIFY(QDir(tree.path()).mkpath(u"proc"_s));
    QVERIFY(writeFile(tree.filePath(u"proc/meminfo"_s), meminfoOf("plain")));
    QCOMPARE(memory.globalMemoryStatus().totalPhys, 24683748 * KiB);
}

QTEST_MAIN(tst_LinuxMemory)
#include "tst_linuxmemory.moc"
