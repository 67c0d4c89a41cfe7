// SPDX-License-Identifier: GPL-3.0-or-later
// rpm's answer, asked of a fake rpm command put first on PATH: a flood of
// names, endless output, an rpm that hangs with a child of its own, and the
// reading without an event loop that the report makes.
#include "app/FailureReport.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "controls/lists/TListView.h"
#include "pages/SystemPage.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/software/LinuxRegistry.h"
#include "platform/linux/software/RpmQuery.h"
#include "support/StallClock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 LongestStallMs = qint64{50} * PELZORA_TIMING_SLACK;

// A machine tree with one dpkg package and an rpm database, and the given script as rpm, first on PATH.
class RpmTree
{
public:
    explicit RpmTree(const QByteArray &script)
        : m_path(qgetenv("PATH"))
    {
        write(u"var/lib/dpkg/status"_s, "Package: dash\nStatus: install ok installed\n");
        write(u"var/lib/rpm/rpmdb.sqlite"_s, {});
        write(u"bin/rpm"_s, "#!/bin/sh\n" + script);
        QFile::setPermissions(path(u"bin/rpm"_s), QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(path(u"bin"_s)) + ':' + m_path);
    }
    ~RpmTree() { qputenv("PATH", m_path); }
    RpmTree(const RpmTree &) = delete;
    RpmTree &operator=(const RpmTree &) = delete;

    QString path(const QString &relative = {}) const { return m_dir.filePath(relative); }

    void write(const QString &relative, const QByteArray &text) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(relative));
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

// Whether a process is still there to do anything (not ended, nor a zombie).
bool running(const QByteArray &pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(QString::fromLatin1(pid.trimmed())));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    const QByteArray state = fields.mid(fields.lastIndexOf(')') + 2, 1);
    return state != "Z" && state != "X";
}

QStringList captions(const TFormMain &window)
{
    QStringList texts;
    for (const TListView::Item &item : window.findChild<TListView *>(u"ListView1"_s)->viewItems())
        texts.append(item.caption);
    return texts;
}

} // namespace

class tst_RpmQuery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void floodJoinsWithoutStallingTheWindow();
    void endlessOutputIsCut();
    void hungRpmIsEndedWithItsChildren();
    void readingWithoutEventLoopWaitsForRpm();
};

// 100,000 names and a line of a megabyte: listed by the window without stopping it.
void tst_RpmQuery::floodJoinsWithoutStallingTheWindow()
{
    const RpmTree tree("seq -f 'flood%06g' 100000\nhead -c 1048576 /dev/zero | tr '\\0' x\necho\n");
    LinuxPlatform platform(tree.path());
    const FailureReport failureReport([](const QString &message) { QFAIL(qPrintable(message)); });
    TFormMain window(platform, failureReport);
    window.show();
    window.notebook()->setPageIndex(3);
    window.Timer6Timer();
    const auto *list = window.findChild<TListView *>(u"ListView1"_s);
    std::optional<StallClock> stalls(std::in_place);
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 100'001, 20'000);
    QTest::qWait(200);
    const qint64 stall = stalls->longestMs();
    const qint64 wall = stalls->longestWallMs();
    stalls.reset();
    QVERIFY2(stall < LongestStallMs,
             qPrintable(u"the window stopped for %1 ms (%2 ms with the machine's waits)"_s.arg(stall).arg(wall)));
    QCOMPARE(captions(window).first(), u"dash"_s);
    QCOMPARE(captions(window).last(), u"flood100000"_s);
}

void tst_RpmQuery::endlessOutputIsCut()
{
    const RpmTree tree("exec yes endless-package-name\n");
    RpmQuery query(tree.path(), {});
    query.start();
    const std::optional<RpmQuery::Answer> answer = query.answer(std::chrono::seconds(20));
    QVERIFY(answer);
    QVERIFY(answer->cut);
    QCOMPARE(answer->programs.size(), 1);

    LinuxRegistry registry(tree.path(), QueryPatience::answerOfTheMoment());
    QStringList notes;
    QCOMPARE(SystemPage::readPrograms(registry, &notes).size(), 2);
    QCOMPARE(notes, QStringList{u"rpm: its list of packages was cut after 4 MB"_s});
}

// After its time limit, or when nobody waits for it any more, rpm ends, and so does what it started.
void tst_RpmQuery::hungRpmIsEndedWithItsChildren()
{
    const RpmTree tree("sleep 1000 &\necho $! > \"$2/child\"\nexec sleep 1000\n");
    RpmQuery query(tree.path(), {}, std::chrono::milliseconds(500));
    query.start();
    QTRY_VERIFY(QFile::exists(tree.path(u"child"_s)));
    QFile child(tree.path(u"child"_s));
    QVERIFY(child.open(QIODevice::ReadOnly));
    const QByteArray childPid = child.readAll();
    QVERIFY(running(childPid));
    QVERIFY(!query.answer(std::chrono::seconds(5)));
    QVERIFY(query.finished());
    QTRY_VERIFY(!running(childPid));

    QFile::remove(tree.path(u"child"_s));
    auto abandoned = std::make_unique<RpmQuery>(tree.path(), std::function<void()>());
    abandoned->start();
    QTRY_VERIFY(QFile::exists(tree.path(u"child"_s)) && QFile(tree.path(u"child"_s)).size() > 0);
    QFile second(tree.path(u"child"_s));
    QVERIFY(second.open(QIODevice::ReadOnly));
    const QByteArray secondPid = second.readAll();
    abandoned.reset();
    QTRY_VERIFY(!running(secondPid));
}

// As the report reads: on a thread of its own without an event loop, waiting for rpm up to the time limit.
void tst_RpmQuery::readingWithoutEventLoopWaitsForRpm()
{
    QStringList warnings;
    static QStringList *seen = nullptr;
    seen = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &text) { seen->append(text); });
    const auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });
    const auto readOnItsOwnThread = [](const QString &root, QStringList &notes) {
        LinuxRegistry registry(root, QueryPatience::answerOfTheMoment());
        QList<ProgramEntry> programs;
        std::thread([&] { programs = SystemPage::readPrograms(registry, &notes); }).join();
        QStringList names;
        for (const ProgramEntry &program : std::as_const(programs))
            names.append(program.name);
        return names;
    };
    const RpmTree slow("sleep 0.5\nprintf 'zsh\\nbash\\n'\n");
    QStringList notes;
    QCOMPARE(readOnItsOwnThread(slow.path(), notes), (QStringList{u"bash"_s, u"dash"_s, u"zsh"_s}));
    QCOMPARE(notes, QStringList());

    const RpmTree hung("exec sleep 1000\n");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(readOnItsOwnThread(hung.path(), notes), QStringList{u"dash"_s});
    QVERIFY(clock.elapsed() < 2500);
    QCOMPARE(notes, QStringList{u"rpm: no answer within 2000 ms"_s});
    QCOMPARE(warnings, QStringList());
}

QTEST_MAIN(tst_RpmQuery)
#include "tst_rpmquery.moc"
