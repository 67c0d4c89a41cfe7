// SPDX-License-Identifier: GPL-3.0-or-later
// Mounts that hang and mounts that come and go, made for real: as root, in a
// mount namespace of this process's own (so that nothing else on the machine
// sees them), with a FUSE server that stops answering on demand
// (support/hangfs.cpp) and a bind mount inside it.
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "platform/fake/FakePlatform.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/drives/LinuxDrives.h"
#include "platform/linux/drives/MountProbes.h"
#include "snapshot/SnapshotSession.h"
#include "support/StallClock.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Why the mounts of these tests cannot be made here; empty when they can.
QString g_noMounts;

// Every mount of these tests lies in a memory file system over /mnt, seen only in this namespace.
const QString Base = u"/mnt"_s;

// A window that stops for longer than this has stopped for the user; a hung
// file system used to stop it for as long as the file system hung.
constexpr qint64 LongestStallMs = qint64{50} * PELZORA_TIMING_SLACK;
constexpr qint64 LongestCloseMs = qint64{1000} * PELZORA_TIMING_SLACK;
// The report waits 2 s for a drive that does not answer; the rest is its own work.
constexpr qint64 LongestReportMs = 2000 + qint64{500} * PELZORA_TIMING_SLACK;

bool mountMemory(const QString &where)
{
    QDir().mkpath(where);
    return ::mount("pelzora-test", QFile::encodeName(where).constData(), "tmpfs", 0, "size=1m") == 0;
}

void unmount(const QString &where)
{
    ::umount2(QFile::encodeName(where).constData(), MNT_DETACH);
}

// A FUSE mount at Base/name whose directory "sub" holds a bind mount of a
// directory of a memory file system mounted nowhere else, and which then stops answering.
class HungMount
{
public:
    explicit HungMount(const QString &name)
        : m_point(Base + u'/' + name)
    {
        QDir().mkpath(m_point);
        m_server.start(QStringLiteral(PELZORA_HANGFS), {m_point});
        if (!m_server.waitForReadyRead(5000) || !m_server.readLine().startsWith("ready"))
            qFatal("hangfs did not start: %s", m_server.readAllStandardError().constData());
        const QString spare = Base + u"/spare-"_s + name;
        if (!mountMemory(spare) || !QDir().mkpath(spare + u"/inner"_s)
            || ::mount(QFile::encodeName(spare + u"/inner"_s).constData(), QFile::encodeName(bound()).constData(),
                       nullptr, MS_BIND, nullptr)
                != 0)
            qFatal("cannot bind into the FUSE mount: %s", std::strerror(errno));
        unmount(spare);
        m_server.write("hang\n");
        m_server.waitForBytesWritten();
    }
    ~HungMount()
    {
        // Its end aborts the connection: whoever waits on the file system is let go.
        m_server.closeWriteChannel();
        m_server.waitForFinished(5000);
        unmount(bound());
        unmount(m_point);
    }
    HungMount(const HungMount &) = delete;
    HungMount &operator=(const HungMount &) = delete;

    QString point() const { return m_point; }
    QString bound() const { return m_point + u"/sub"_s; }

private:
    QString m_point;
    QProcess m_server;
};

// The longest the event loop stopped (less the machine's own waits) while it runs for ms.
qint64 longestStall(int ms, const std::function<void()> &meanwhile = {})
{
    const StallClock stalls;
    if (meanwhile)
        QTimer::singleShot(0, meanwhile);
    QTest::qWait(ms);
    return stalls.longestMs();
}

QString driveAt(LinuxDrives &drives, const QString &mountPoint)
{
    const quint32 mask = drives.logicalDrives();
    for (int i = 0; i < 26; ++i) {
        QString root = QString(QChar(u'A' + i)) + u":\\"_s;
        if (mask & (1u << i) && drives.location(root)->mountPoint == mountPoint)
            return root;
    }
    return {};
}

} // namespace

class tst_HungMounts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void oneProbeStaysWithAHungMount();
    void windowKeepsRespondingAndCloses();
    void programAndReportEndOnTime();
    void mountsThatComeAndGoAreSeen();
    void aStormOfMountsLeavesNoStaleTable();
    void theDriveSelectorFollowsMounts();
};

void tst_HungMounts::initTestCase()
{
    if (!g_noMounts.isEmpty())
        QSKIP(qPrintable(g_noMounts));
    if (!mountMemory(Base))
        QSKIP(qPrintable(u"cannot mount a memory file system over %1: %2"_s.arg(
            Base, QString::fromLocal8Bit(std::strerror(errno)))));
}

void tst_HungMounts::cleanupTestCase()
{
    if (g_noMounts.isEmpty())
        unmount(Base);
}

void tst_HungMounts::oneProbeStaysWithAHungMount()
{
    if (!QFile::exists(u"/dev/fuse"_s))
        QSKIP("no /dev/fuse: this machine cannot run a FUSE server");
    const HungMount hung(u"probed"_s);
    MountProbes &probes = MountProbes::instance();
    const QByteArray point = QFile::encodeName(hung.point());
    const MountProbeRequest look;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!probes.ask(point, look, point, {}, MountProbes::Clock::now() + std::chrono::milliseconds(300), true));
    QVERIFY(clock.elapsed() >= 290);
    QVERIFY(probes.hung() >= 1);
    const int started = probes.started();
    // A caller that cannot wait hears at once; one that can waits for the same probe.
    clock.restart();
    QVERIFY(!probes.ask(point, look, point, {}, MountProbes::Clock::now() + std::chrono::seconds(5), false));
    QVERIFY(clock.elapsed() < 100);
    QVERIFY(!probes.ask(point, look, point, {}, MountProbes::Clock::now() + std::chrono::milliseconds(200), true));
    QCOMPARE(probes.started(), started);
    // Every other mount is answered meanwhile.
    const QByteArray base = QFile::encodeName(Base);
    const std::optional<MountProbeReply> healthy = probes.ask(
        base, look, base, base, MountProbes::Clock::now() + std::chrono::seconds(5), true);
    QVERIFY(healthy && healthy->sizesKnown && healthy->mayEnter);
    QCOMPARE(healthy->totalBytes, quint64(1024 * 1024));
}

void tst_HungMounts::windowKeepsRespondingAndCloses()
{
    if (!QFile::exists(u"/dev/fuse"_s))
        QSKIP("no /dev/fuse: this machine cannot run a FUSE server");
    const HungMount hung(u"window"_s);
    // Started while the mount hangs, with the Disk page and its drive list open, while mounts change.
    QElapsedTimer clock;
    clock.start();
    auto platform = std::make_unique<LinuxPlatform>();
    const FailureReport failureReport;
    auto window = std::make_unique<TFormMain>(*platform, failureReport);
    window->show();
    window->notebook()->setPageIndex(2);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(u"the window took %1 ms to show"_s.arg(clock.elapsed())));
    const qint64 stall = longestStall(3000, [] {
        mountMemory(Base + u"/extra"_s);
        QTimer::singleShot(500, [] { unmount(Base + u"/extra"_s); });
    });
    QVERIFY2(stall < LongestStallMs, qPrintable(u"the window stopped for %1 ms"_s.arg(stall)));
    clock.restart();
    window->close();
    window.reset();
    platform.reset();
    QVERIFY(clock.elapsed() < LongestCloseMs);
}

void tst_HungMounts::programAndReportEndOnTime()
{
    if (!QFile::exists(u"/dev/fuse"_s))
        QSKIP("no /dev/fuse: this machine cannot run a FUSE server");
    const HungMount hung(u"program"_s);
    QProcess report;
    QElapsedTimer clock;
    clock.start();
    report.start(QStringLiteral(PELZORA_PROGRAM), {u"--report"_s});
    QVERIFY(report.waitForFinished(30000));
    const qint64 reportMs = clock.elapsed();
    QVERIFY2(reportMs < LongestReportMs, qPrintable(u"--report took %1 ms"_s.arg(reportMs)));
    QCOMPARE(report.exitCode(), 0);
    qInfo("--report took %lld ms", reportMs);

    // The window's process: ended while its drives hang, it is gone at once.
    QProcess window;
    window.setProcessEnvironment([] {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        return environment;
    }());
    window.start(QStringLiteral(PELZORA_PROGRAM), {});
    QVERIFY(window.waitForStarted());
    QTest::qWait(1500);
    QCOMPARE(window.state(), QProcess::Running);
    clock.restart();
    window.terminate();
    QVERIFY2(window.waitForFinished(int(LongestCloseMs)),
             qPrintable(u"still there %1 ms after it was ended"_s.arg(clock.elapsed())));
}

void tst_HungMounts::mountsThatComeAndGoAreSeen()
{
    const QString stick = Base + u"/stick"_s;
    LinuxDrives drives(u"/"_s);
    QObject context;
    int told = 0;
    drives.watchDrives(&context, [&] { ++told; });
    QTRY_VERIFY(driveAt(drives, Base) != QString());
    QCOMPARE(driveAt(drives, stick), QString());
    told = 0;
    QVERIFY(mountMemory(stick));
    QTRY_VERIFY(told > 0 && !driveAt(drives, stick).isEmpty());
    const QString letter = driveAt(drives, stick);
    QCOMPARE(drives.driveType(letter), DriveType::RamDisk);
    told = 0;
    unmount(stick);
    QTRY_VERIFY(told > 0 && driveAt(drives, stick).isEmpty());
    QCOMPARE(drives.driveType(letter), DriveType::NoRootDir);
    // A name with a line feed and an escape in it is a place like any other.
    const QString odd = Base + u"/line\nbreak \x1b[31m"_s;
    QVERIFY(mountMemory(odd));
    QTRY_VERIFY(!driveAt(drives, odd).isEmpty());
    LinuxDrives patient(u"/"_s, QueryPatience::answerOfTheMoment());
    QCOMPARE(patient.totalBytes(driveAt(patient, odd)), std::optional<quint64>(1024 * 1024));
    unmount(odd);
}

void tst_HungMounts::aStormOfMountsLeavesNoStaleTable()
{
    const QString storm = Base + u"/storm"_s;
    QDir().mkpath(storm);
    LinuxDrives drives(u"/"_s);
    QObject context;
    int told = 0;
    drives.watchDrives(&context, [&] {
        ++told;
        drives.logicalDrives();
    });
    // A thousand mounts and unmounts a second for two seconds; the last one stays mounted.
    std::atomic<int> changes = 0;
    std::thread loop;
    const qint64 stall = longestStall(2500, [&] {
        loop = std::thread([&] {
            const QByteArray where = QFile::encodeName(storm);
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 2000) {
                ::mount("storm", where.constData(), "tmpfs", 0, "size=1m");
                ::umount2(where.constData(), MNT_DETACH); // a probe may have it open
                changes += 2;
                if (changes > clock.elapsed())
                    ::usleep(1000); // a thousand a second, or as many as the machine makes
            }
            ::mount("storm", where.constData(), "tmpfs", 0, "size=1m");
        });
    });
    loop.join();
    QVERIFY2(changes >= 1000, qPrintable(u"%1 changes"_s.arg(changes.load())));
    qInfo("%d changes of the mount table in 2 s", changes.load());
    QVERIFY2(stall < LongestStallMs, qPrintable(u"the window stopped for %1 ms"_s.arg(stall)));
    QVERIFY(told > 0);
    QTRY_VERIFY(!driveAt(drives, storm).isEmpty());
    unmount(storm);
    QTRY_VERIFY(driveAt(drives, storm).isEmpty());
}

// A stick plugged in and pulled out while the Disk page is open, as the user sees it.
void tst_HungMounts::theDriveSelectorFollowsMounts()
{
    const QString stick = Base + u"/selector"_s;
    QTemporaryDir out;
    SnapshotSession session(nullptr, QDir(out.path()));
    session.runStep({{u"page"_s, 2}});
    const auto selector = [&] {
        return session.dump().value(u"controls"_s).toObject().value(u"DriveComboBox1"_s).toObject();
    };
    const auto items = [&] {
        QStringList texts;
        for (const QJsonValue item : selector().value(u"items"_s).toArray())
            texts.append(item.toString());
        return texts;
    };
    const auto changes = [&] {
        return session.dump().value(u"events"_s).toObject().value(u"DriveComboBox1Change"_s).toInt();
    };
    const QStringList before = items();
    QVERIFY(mountMemory(stick));
    QTRY_COMPARE(items().size(), before.size() + 1);
    QString added;
    for (const QString &item : items())
        if (!before.contains(item))
            added = item;
    session.runStep({{u"pick"_s, added.left(1)}});
    QCOMPARE(selector().value(u"driveLetter"_s).toString(), added.left(1));
    const int picked = changes();
    unmount(stick);
    QTRY_COMPARE(items(), before);
    QCOMPARE(selector().value(u"driveLetter"_s).toString(), u"c"_s);
    QCOMPARE(changes(), picked + 2); // as a pick of C: by the user
}

int main(int argc, char *argv[])
{
    // Before any thread: every thread and child of this process then shares the namespace.
    if (::geteuid() != 0)
        g_noMounts = u"making mounts needs root: run as root (CI does) to check this"_s;
    else if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        g_noMounts = u"no mount namespace of its own: %1"_s.arg(QString::fromLocal8Bit(std::strerror(errno)));
    QApplication application(argc, argv);
    tst_HungMounts test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hungmounts.moc"
