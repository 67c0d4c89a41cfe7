// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/drives/LinuxVolumeIds.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_LinuxVolumeIds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void serialFromUuid_data();
    void serialFromUuid();
    void udevNames();
};

void tst_LinuxVolumeIds::serialFromUuid_data()
{
    QTest::addColumn<QString>("uuid");
    QTest::addColumn<qint64>("serial"); // -1: none
    QTest::newRow("vfat") << u"1A2B-3C4D"_s << qint64(0x1A2B3C4D);
    QTest::newRow("exfat") << u"0a1b-2c3d"_s << qint64(0x0A1B2C3D);
    QTest::newRow("ntfs") << u"3E4A6F1B0A1B2C3D"_s << qint64(0x0A1B2C3D);
    QTest::newRow("ext4") << u"e3b0c442-98fc-1c14-9afb-f4c8996fb924"_s << qint64(0xE3B0C442);
    QTest::newRow("iso9660 date") << u"2024-02-10-11-36-33-00"_s << qint64(0x20240210);
    QTest::newRow("too short") << u"1A2B"_s << qint64(-1);
    QTest::newRow("not hexadecimal") << u"SYSTEM-RESERVED"_s << qint64(-1);
    QTest::newRow("empty") << QString() << qint64(-1);
}

void tst_LinuxVolumeIds::serialFromUuid()
{
    QFETCH(QString, uuid);
    QFETCH(qint64, serial);
    const std::optional<quint32> actual = LinuxVolumeIds::serialFromUuid(uuid);
    QCOMPARE(actual.has_value(), serial >= 0);
    if (actual)
        QCOMPARE(qint64(*actual), serial);
}

void tst_LinuxVolumeIds::udevNames()
{
    QCOMPARE(LinuxVolumeIds::decodeUdevName("EFI\\x20System"), u"EFI System"_s);
    QCOMPARE(LinuxVolumeIds::decodeUdevName("\\xe6\\x95\\xb0\\xe6\\x8d\\xae"), u"数据"_s);
    QCOMPARE(LinuxVolumeIds::decodeUdevName("a\\x2fb"), u"a/b"_s);
    // Anything that is not a whole escape stays as it is.
    QCOMPARE(LinuxVolumeIds::decodeUdevName("x\\xZZ\\x4"), u"x\\xZZ\\x4"_s);
}

QTEST_GUILESS_MAIN(tst_LinuxVolumeIds)
#include "tst_linuxvolumeids.moc"
