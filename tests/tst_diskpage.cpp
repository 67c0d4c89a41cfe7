// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TTimer.h"
#include "app/UnitFormMain.h"
#include "support/Session.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// C: a 2 TiB system disk; D: an optical drive without a disc; E: a small data disk; F: a stick.
const QByteArray Machine = R"({ "currentDirectory": "C:\\Users\\ann",
    "drives": [
      { "letter": "C", "type": 3, "label": "DATA", "serial": "0x0A1B2C3D", "fileSystem": "NTFS",
        "totalBytes": "0x20000000000", "freeBytes": "0x40000000" },
      { "letter": "D", "type": 5, "ready": false, "fileSystem": "CDFS" },
      { "letter": "E", "type": 3, "serial": "0x0A1B2C3D", "fileSystem": "FAT32",
        "totalBytes": 1048575, "freeBytes": 1048576 },
      { "letter": "F", "type": 2, "label": "STICK", "serial": "0xDEADBEEF", "fileSystem": "exFAT",
        "totalBytes": "0x3C0000000", "freeBytes": "0x100000", "volumeQueryFails": true } ] })";

// The window with the tick held: each test runs the disk steps itself with tick().
class DiskSession : public Session
{
public:
    explicit DiskSession(const QByteArray &fixture = Machine)
        : Session(fixture)
    {
        (*this)->window().timers().at(4)->setEnabled(false);
    }

    void tick() { (*this)->window().Timer5Timer(); }
    void pick(const char *letter) { steps(u"[ { \"pick\": \"%1\" } ]"_s.arg(QLatin1StringView(letter)).toUtf8()); }
    QStringList labels() const
    {
        QStringList texts;
        for (const char *name : {"Label16", "Label14", "Label33", "Label22", "Label24"})
            texts.append(text(QString::fromLatin1(name)));
        return texts;
    }
    QString currentDirectory() const { return dump().value(u"currentDirectory"_s).toString(); }
};

const QString Unknown = u"<Unknown>"_s;
const QString Fixed = u"固定驱动器"_s;

} // namespace

class tst_DiskPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tickFillsThePageBeforeItIsShown();
    void firstShowingWritesTheStartDrivesType();
    void pickingAnotherDrive();
    void fileSystemNameChangesOnlyAtTheNextTick();
    void driveWithoutMedium();
    void volumeQueryThatFails();
    void sizeQueryThatFails();
    void typesZeroAndOneLeaveTheTypeTextAlone_data();
    void typesZeroAndOneLeaveTheTypeTextAlone();
    void selectorWithoutADrive();
    void eachDriveKeepsItsDirectory();
    void longLabelEndsAtTheFrameAndCopiesWhole();
};

void tst_DiskPage::tickFillsThePageBeforeItIsShown()
{
    DiskSession session;
    session.tick();
    QCOMPARE(session.labels(),
             (QStringList{u"Label = DATA   VolSer = 0A1B2C3D"_s, u"NTFS"_s, Unknown, u"2097152 MB"_s, u"1024 MB"_s}));
}

void tst_DiskPage::firstShowingWritesTheStartDrivesType()
{
    DiskSession session;
    session.page(1);
    QCOMPARE(session.text(u"Label33"_s), Unknown);
    session.page(2);
    QCOMPARE(session.labels(),
             (QStringList{u"Label = DATA   VolSer = 0A1B2C3D"_s, Unknown, Fixed, u"2097152 MB"_s, u"1024 MB"_s}));
}

void tst_DiskPage::pickingAnotherDrive()
{
    DiskSession session;
    session.page(2);
    session.pick("e");
    // Under one MB reads as 0 MB; exactly one MB as 1 MB. Unlabelled: one blank, then the three.
    QCOMPARE(session.labels(), (QStringList{u"Label =    VolSer = 0A1B2C3D"_s, Unknown, Fixed, u"0 MB"_s, u"1 MB"_s}));
    QCOMPARE(session.currentDirectory(), u"E:\\"_s);
}

void tst_DiskPage::fileSystemNameChangesOnlyAtTheNextTick()
{
    DiskSession session;
    session.page(2);
    session.tick();
    QCOMPARE(session.text(u"Label14"_s), u"NTFS"_s);
    session.pick("e");
    QCOMPARE(session.text(u"Label14"_s), u"NTFS"_s);
    session.tick();
    QCOMPARE(session.text(u"Label14"_s), u"FAT32"_s);
}

void tst_DiskPage::driveWithoutMedium()
{
    DiskSession session;
    session.page(2);
    session.tick();
    session.pick("d");
    // The drive cannot be entered: the sizes stay at 0 MB, the rest as it was.
    QCOMPARE(session.labels(),
             (QStringList{u"Label = DATA   VolSer = 0A1B2C3D"_s, u"NTFS"_s, Fixed, u"0 MB"_s, u"0 MB"_s}));
    QCOMPARE(session.currentDirectory(), u"C:\\Users\\ann"_s);
    QCOMPARE(session.dump().value(u"reports"_s).toArray().size(), 0);
    // The next tick describes the new drive, sizes included: never the old, still current, one's.
    session.tick();
    QCOMPARE(session.labels(),
             (QStringList{u"Label =    VolSer = 00000000"_s, QString(), Fixed, u"0 MB"_s, u"0 MB"_s}));
}

void tst_DiskPage::volumeQueryThatFails()
{
    DiskSession session;
    session.page(2);
    session.tick();
    session.pick("f");
    session.tick();
    // Neither old nor made-up texts: no label, serial 0, no file-system name.
    QCOMPARE(
        session.labels(),
        (QStringList{u"Label =    VolSer = 00000000"_s, QString(), u"可移动存储器或软盘"_s, u"15360 MB"_s, u"1 MB"_s}));
}

void tst_DiskPage::sizeQueryThatFails()
{
    DiskSession session;
    session.tick();
    QCOMPARE(session.text(u"Label22"_s), u"2097152 MB"_s);
    session.steps(R"([ { "fixture": { "drives": [ { "letter": "C", "type": 3, "ready": false } ] } } ])");
    session.tick();
    QCOMPARE(session.text(u"Label22"_s), u"0 MB"_s);
    QCOMPARE(session.text(u"Label24"_s), u"0 MB"_s);
}

void tst_DiskPage::typesZeroAndOneLeaveTheTypeTextAlone_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("unknown") << 0;
    QTest::newRow("no root directory") << 1;
}

void tst_DiskPage::typesZeroAndOneLeaveTheTypeTextAlone()
{
    QFETCH(int, type);
    DiskSession session;
    session.page(2);
    // E's type changes after the list was built; the pick still goes through.
    session.steps(u"[ { \"fixture\": { \"drives\": [ { \"letter\": \"C\", \"type\": 3 },"
                  " { \"letter\": \"E\", \"type\": %1, \"label\": \"NEW\", \"serial\": \"0x1\" } ] } } ]"_s.arg(type)
                      .toUtf8());
    session.pick("e");
    QCOMPARE(session.text(u"Label33"_s), Fixed);
    QCOMPARE(session.text(u"Label16"_s), u"Label = NEW   VolSer = 00000001"_s);
}

void tst_DiskPage::selectorWithoutADrive()
{
    DiskSession session(R"({ "currentDirectory": "\\\\server\\share",
                             "drives": [ { "letter": "C", "type": 3, "label": "DATA" } ] })");
    session.page(2);
    session.tick();
    session.tick();
    // No drive to describe: its labels keep their texts; the sizes are the share's, which fail here.
    QCOMPARE(session.labels(), (QStringList{Unknown, Unknown, Unknown, u"0 MB"_s, u"0 MB"_s}));
    QCOMPARE(session.currentDirectory(), u"\\\\server\\share"_s);
    QCOMPARE(session.dump().value(u"reports"_s).toArray().size(), 0);
}

void tst_DiskPage::eachDriveKeepsItsDirectory()
{
    DiskSession session;
    session.page(2);
    session.pick("e");
    QCOMPARE(session.currentDirectory(), u"E:\\"_s);
    session.pick("c");
    QCOMPARE(session.currentDirectory(), u"C:\\Users\\ann"_s);
    QCOMPARE(session.text(u"Label22"_s), u"2097152 MB"_s);
    // Back to the start, from a network path too.
    DiskSession network(R"({ "currentDirectory": "\\\\server\\share",
                             "drives": [ { "letter": "C", "type": 3 } ] })");
    network.page(2);
    network.pick("c");
    QCOMPARE(network.currentDirectory(), u"C:\\"_s);
}

void tst_DiskPage::longLabelEndsAtTheFrameAndCopiesWhole()
{
    DiskSession session(R"({ "currentDirectory": "C:\\", "drives": [
        { "letter": "C", "type": 3, "label": "gy_pq_Backup\u001b[2J", "serial": "0x0A1B2C3D" } ] })");
    session.page(2);
    session.tick();
    const QString whole = u"Label = gy_pq_Backup\u001b[2J   VolSer = 0A1B2C3D"_s;
    const QJsonObject label = session.control(u"Label16"_s);
    QCOMPARE(label[u"text"_s].toString(), whole);
    QVERIFY(label[u"elided"_s].toBool());
    QCOMPARE(label[u"toolTip"_s].toString(), u"Label = gy_pq_Backup\u241B[2J   VolSer = 0A1B2C3D"_s);
    QVERIFY(!session.control(u"Label14"_s)[u"elided"_s].toBool());
    session.steps(R"([ { "focus": "Label16" }, { "key": "ctrl+c" } ])");
    QCOMPARE(session.dump()[u"clipboard"_s].toString(), whole);
}

QTEST_MAIN(tst_DiskPage)
#include "tst_diskpage.moc"
