// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/services/InitScriptHeader.h"
#include "platform/linux/services/LinuxServices.h"
#include "platform/linux/services/SystemdServiceList.h"
#include "platform/linux/services/SystemdUnitFile.h"
#include "support/TestData.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString SystemdRoot = QStringLiteral(PELZORA_TEST_DATA "/services/systemd");
const QString InitdRoot = QStringLiteral(PELZORA_TEST_DATA "/services/initd");

QStringList allServices(ServiceManager &manager, int batchSize)
{
    QStringList names;
    quint32 resumeHandle = 0;
    for (;;) {
        const QStringList batch = manager.enumerateServices(ServiceSource::Win32Services, ServiceSource::AllStates,
                                                            resumeHandle, batchSize);
        if (batch.isEmpty())
            return names;
        names += batch;
    }
}

} // namespace

class tst_LinuxServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unitDescription_data();
    void unitDescription();
    void specifiers_data();
    void specifiers();
    void unitTree();
    void initScriptHeader();
    void managerHandsOutTheListInBatches();
    void initScriptsServeWithoutUnitDirectories();
    void noSourceMeansTheManagerCannotOpen();
};

void tst_LinuxServices::unitDescription_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected"); // a null string: no Description set

    QTest::newRow("real unit") << testData(SystemdRoot + u"/usr/lib/systemd/system/cups.service"_s)
                               << u"CUPS Scheduler"_s;
    QTest::newRow("real unit after a licence comment")
        << testData(SystemdRoot + u"/usr/lib/systemd/system/getty@.service"_s) << u"Getty on %I"_s;
    QTest::newRow("real drop-in without one")
        << testData(SystemdRoot + u"/usr/lib/systemd/system/rc-local.service.d/debian.conf"_s) << QString();
    QTest::newRow("continued over a comment")
        << testData(SystemdRoot + u"/run/systemd/system/run-once.service"_s) << u"Run once at the next boot"_s;
    QTest::newRow("empty assignment resets, other sections ignored")
        << testData(SystemdRoot + u"/usr/lib/systemd/system/e2scrub_reap.service.d/reset.conf"_s) << u""_s;
    QTest::newRow("last one wins, blanks around =")
        << QByteArray("[Unit]\nDescription=First\n  Description = Second  \n; Description=commented\n") << u"Second"_s;
    QTest::newRow("outside [Unit]") << QByteArray("Description=Loose\n[Install]\nDescription=x\n") << QString();
    QTest::newRow("UTF-8") << QByteArray("[Unit]\r\nDescription=Dienst für Drucker\r\n") << u"Dienst für Drucker"_s;
}

void tst_LinuxServices::unitDescription()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, expected);
    const std::optional<QString> description = SystemdUnitFile::description(contents);
    QCOMPARE(description.has_value(), !expected.isNull());
    if (description)
        QCOMPARE(*description, expected);
}

void tst_LinuxServices::specifiers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("expected");

    QTest::newRow("instance") << u"Getty on %I"_s << u"getty@tty3.service"_s << u"Getty on tty3"_s;
    QTest::newRow("escaped instance") << u"Check %I (%i)"_s << u"fsck@dev-disk-by\\x2dlabel-root.service"_s
                                      << u"Check dev/disk/by-label/root (dev-disk-by\\x2dlabel-root)"_s;
    QTest::newRow("names") << u"%n %N %p"_s << u"user@0.service"_s << u"user@0.service user@0 user"_s;
    QTest::newRow("percent and others") << u"100%% %H %"_s << u"a.service"_s << u"100% %H %"_s;
    QTest::newRow("half escapes stay") << u"%I"_s << u"a@x\\x-1\\x 1\\x+fy\\x4"_s << u"x\\x/1\\x 1\\x+fy\\x4"_s;
    QTest::newRow("digit and blank, found by fuzzing")
        << u"%I"_s << u"a@[UnDescripti\\xe t\\.service"_s << u"[UnDescripti\\xe t\\"_s;
}

void tst_LinuxServices::specifiers()
{
    QFETCH(QString, text);
    QFETCH(QString, unit);
    QFETCH(QString, expected);
    QCOMPARE(SystemdUnitFile::expandSpecifiers(text, unit), expected);
}

// The tree holds real vendor units under usr/lib (lib links there), an
// administrator's masks, aliases, links and drop-ins under etc, a local build
// under usr/local and a runtime unit under run.
void tst_LinuxServices::unitTree()
{
    const std::optional<QStringList> names = SystemdServiceList(SystemdRoot).displayNames();
    QVERIFY(names);
    const QStringList expected{
        u"Daily apt upgrade and clean activities"_s, // apt-daily itself is masked in etc
        u"Printing service (cups.service)"_s, // etc's drop-in beats the vendor's
        u"D-Bus (local build)"_s, // usr/local before usr/lib
        u"e2scrub_reap"_s, // a drop-in emptied it
        u"Getty on tty3"_s, // an instance linked to its template
        u"local-backup"_s, // no Description
        u"/etc/rc.local Compatibility"_s,
        u"Run once at the next boot"_s,
        u"Locale Service"_s,
        u"User Login Management"_s, // once, though dbus-org.freedesktop.login1 aliases it
        u"Network Time Synchronization"_s, // once, though an absolute link in etc aliases it
        u"Zebra legacy daemon"_s,
    };
    QCOMPARE(*names, expected);
}

void tst_LinuxServices::initScriptHeader()
{
    QCOMPARE(InitScriptHeader::shortDescription(testData(InitdRoot + u"/etc/init.d/procps"_s)),
             u"Configure kernel parameters at boottime"_s);
    QCOMPARE(InitScriptHeader::shortDescription(testData(InitdRoot + u"/etc/init.d/Custom-Daemon"_s)), std::nullopt);
    QCOMPARE(InitScriptHeader::shortDescription("### BEGIN INIT INFO\n# Provides: x\n### END INIT INFO\n"
                                                "# Short-Description: after the block\n"),
             std::nullopt);
}

void tst_LinuxServices::managerHandsOutTheListInBatches()
{
    LinuxServices services(SystemdRoot);
    const std::unique_ptr<ServiceManager> manager = services.openManager(ServiceSource::AllAccess);
    QVERIFY(manager);
    QCOMPARE(allServices(*manager, 5), *SystemdServiceList(SystemdRoot).displayNames());
    quint32 resumeHandle = 0;
    QVERIFY(manager->enumerateServices(0x0B, ServiceSource::AllStates, resumeHandle, 100).isEmpty());
}

void tst_LinuxServices::initScriptsServeWithoutUnitDirectories()
{
    LinuxServices services(InitdRoot);
    const std::unique_ptr<ServiceManager> manager = services.openManager(ServiceSource::AllAccess);
    QVERIFY(manager);
    QCOMPARE(
        allServices(*manager, 100),
        (QStringList{u"CUPS Printing spooler and server"_s, u"Custom-Daemon"_s, u"D-Bus systemwide message bus"_s,
                     u"Save system clock to hardware on shutdown."_s, u"Configure kernel parameters at boottime"_s}));
}

void tst_LinuxServices::noSourceMeansTheManagerCannotOpen()
{
    const QTemporaryDir root;
    QVERIFY(!SystemdServiceList(root.path()).displayNames());
    QVERIFY(!LinuxServices(root.path()).openManager(ServiceSource::AllAccess));
}

QTEST_MAIN(tst_LinuxServices)
#include "tst_linuxservices.moc"
