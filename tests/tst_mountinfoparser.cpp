// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/drives/MountInfoParser.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_MountInfoParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEveryLineOfRealTables_data();
    void readsEveryLineOfRealTables();
    void fieldsAroundOptionalOnes();
    void escapedPaths();
    void unreadableLinesAreLeftOut();
};

void tst_MountInfoParser::readsEveryLineOfRealTables_data()
{
    QTest::addColumn<QString>("path");
    const QDir data(QStringLiteral(PELZORA_TEST_DATA "/mountinfo"));
    for (const QString &name : data.entryList({u"*.mountinfo"_s}))
        QTest::newRow(qPrintable(name)) << data.filePath(name);
}

void tst_MountInfoParser::readsEveryLineOfRealTables()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    const QList<MountEntry> entries = MountInfoParser::parse(text);
    QCOMPARE(entries.size(), text.count('\n'));
    for (const MountEntry &entry : entries) {
        QVERIFY(entry.mountPoint.startsWith(u'/'));
        QVERIFY(!entry.fileSystemType.isEmpty());
    }
}

void tst_MountInfoParser::fieldsAroundOptionalOnes()
{
    const QList<MountEntry> entries = MountInfoParser::parse(
        "28 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
        "1046 967 0:62 / / rw,relatime master:489 propagate_from:3 unbindable - overlay overlay rw,lowerdir=/a:/b\n"
        "1057 1046 259:3 /ann/project /work rw,relatime - ext4 /dev/nvme0n1p3 rw");
    QCOMPARE(entries.size(), 3);
    const MountEntry root{28, 1, 259, 2, u"/"_s, u"/"_s, u"ext4"_s, u"/dev/nvme0n1p2"_s};
    QCOMPARE(entries.at(0), root);
    QCOMPARE(entries.at(1).fileSystemType, u"overlay"_s);
    QCOMPARE(entries.at(1).major, 0u);
    QCOMPARE(entries.at(1).minor, 62u);
    QCOMPARE(entries.at(2).root, u"/ann/project"_s);
    QCOMPARE(entries.at(2).mountPoint, u"/work"_s);
}

void tst_MountInfoParser::escapedPaths()
{
    QFile file(QStringLiteral(PELZORA_TEST_DATA "/mountinfo/escaped.mountinfo"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<MountEntry> entries = MountInfoParser::parse(file.readAll());
    QStringList mountPoints;
    for (const MountEntry &entry : entries)
        mountPoints.append(entry.mountPoint);
    QCOMPARE(mountPoints,
             (QStringList{u"/sys"_s, u"/proc"_s, u"/"_s, u"/media/ann/My Passport"_s,
                          u"/media/ann/Debian 12.5.0 amd64 1"_s, u"/mnt/tab\tand\\back"_s, u"/mnt/line\nbreak"_s}));
    // A backslash that starts no octal escape stays; so do UTF-8 names.
    QCOMPARE(MountInfoParser::unescape("/mnt/a\\b\\12"), u"/mnt/a\\b\\12"_s);
    QCOMPARE(MountInfoParser::unescape("/media/ann/\xe6\x95\xb0\xe6\x8d\xae\\040x"), u"/media/ann/数据 x"_s);
}

void tst_MountInfoParser::unreadableLinesAreLeftOut()
{
    const QList<MountEntry> entries = MountInfoParser::parse(
        "\n"
        "garbage\n"
        "28 1 259:2 / / rw - ext4\n" // source and super options missing
        "x 1 259:2 / / rw - ext4 /dev/sda1 rw\n" // no mount ID
        "29 1 259 / /a rw - ext4 /dev/sda1 rw\n" // no minor number
        "30 1 8:1 / relative rw - ext4 /dev/sda1 rw\n" // not an absolute mount point
        "31 1 8:1 / /ok rw - ext4 /dev/sda1 rw");
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.at(0).mountPoint, u"/ok"_s);
}

QTEST_GUILESS_MAIN(tst_MountInfoParser)
#include "tst_mountinfoparser.moc"
