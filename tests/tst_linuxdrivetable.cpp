// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/drives/LinuxDriveTable.h"
#include "support/TestData.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What a drive is expected to be: its letter, where it is mounted and its type.
struct Expected
{
    char letter;
    QString mountPoint;
    DriveType type;
};

QList<MountEntry> mountsOf(const QString &name)
{
    return MountInfoParser::parse(testData(u"mountinfo/"_s + name));
}

// Every mount point a directory but the listed files; the listed devices removable.
LinuxDriveTable::Probe probe(const QSet<QString> &files = {}, const QSet<QString> &removableDevices = {})
{
    return {[files](const QString &mountPoint) { return !files.contains(mountPoint); },
            [removableDevices](quint32 major, quint32 minor) {
                return removableDevices.contains(u"%1:%2"_s.arg(major).arg(minor));
            }};
}

void compareDrives(const LinuxDriveTable &table, const QList<Expected> &expected)
{
    const QList<LinuxDrive> drives = table.drives();
    QStringList actualText;
    QStringList expectedText;
    for (const LinuxDrive &drive : drives)
        actualText.append(u"%1 %2 %3"_s.arg(drive.letter).arg(drive.mount.mountPoint).arg(int(drive.type)));
    for (const Expected &drive : expected)
        expectedText.append(
            u"%1 %2 %3"_s.arg(QChar::fromLatin1(drive.letter)).arg(drive.mountPoint).arg(int(drive.type)));
    QCOMPARE(actualText, expectedText);
}

} // namespace

class tst_LinuxDriveTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void desktopWithEfiHomeAndStick();
    void containerWithOverlayRootAndFileBinds();
    void machineWithoutUdev();
    void networkShares();
    void ramDisks();
    void escapedMountPoints();
    void moreThan24Drives();
    void lettersStayWhenTheTableChanges();
    void theLastMountAtAPlaceIsTheVisibleOne();
    void pathsBelongToTheDeepestMountPoint();
};

void tst_LinuxDriveTable::desktopWithEfiHomeAndStick()
{
    LinuxDriveTable table;
    table.update(mountsOf(u"desktop.mountinfo"_s), probe({}, {u"8:17"_s}));
    compareDrives(table,
                  {{'C', u"/"_s, DriveType::Fixed},
                   {'D', u"/home"_s, DriveType::Fixed},
                   {'E', u"/boot/efi"_s, DriveType::Fixed},
                   {'F', u"/media/ann/STICK"_s, DriveType::Removable}});
    QCOMPARE(table.letterMask(), 0b111100u);
    QVERIFY(!table.drive(u'A'));
    QCOMPARE(table.drive(u'f')->mount.source, u"/dev/sdb1"_s);
}

void tst_LinuxDriveTable::containerWithOverlayRootAndFileBinds()
{
    LinuxDriveTable table;
    table.update(mountsOf(u"docker-container.mountinfo"_s),
                 probe({u"/etc/resolv.conf"_s, u"/etc/hostname"_s, u"/etc/hosts"_s, u"/proc/kcore"_s, u"/proc/keys"_s,
                        u"/proc/timer_list"_s, u"/proc/sysrq-trigger"_s}));
    compareDrives(table,
                  {{'C', u"/"_s, DriveType::Fixed},
                   {'D', u"/work"_s, DriveType::Fixed},
                   {'E', u"/scratch"_s, DriveType::RamDisk}});
    QCOMPARE(table.drive(u'C')->mount.fileSystemType, u"overlay"_s);
}

void tst_LinuxDriveTable::machineWithoutUdev()
{
    // A copy of a virtual machine's table: a root on a virtio disk and a small tmpfs.
    LinuxDriveTable table;
    table.update(mountsOf(u"vm-without-udev.mountinfo"_s), probe());
    const QList<LinuxDrive> drives = table.drives();
    QVERIFY(!drives.isEmpty());
    QCOMPARE(drives.at(0).letter, u'C');
    QCOMPARE(drives.at(0).mount.source, u"/dev/vda"_s);
    QCOMPARE(drives.at(0).type, DriveType::Fixed);
    for (const LinuxDrive &drive : drives.sliced(1)) {
        QCOMPARE(drive.type, DriveType::RamDisk);
        QVERIFY(!drive.mount.mountPoint.startsWith(u"/dev"_s) && !drive.mount.mountPoint.startsWith(u"/sys"_s));
    }
}

void tst_LinuxDriveTable::networkShares()
{
    LinuxDriveTable table;
    table.update(mountsOf(u"network-shares.mountinfo"_s), probe());
    // /srv/media is a second mount of the share on /mnt/nas.
    compareDrives(table,
                  {{'C', u"/"_s, DriveType::Fixed},
                   {'D', u"/mnt/nas"_s, DriveType::Remote},
                   {'E', u"/mnt/office"_s, DriveType::Remote},
                   {'F', u"/home/ann/remote"_s, DriveType::Remote},
                   {'G', u"/mnt/backup"_s, DriveType::Remote}});
    QCOMPARE(table.drive(u'D')->mount.source, u"nas.example.lan:/export/media"_s);
    QCOMPARE(table.drive(u'E')->mount.source, u"//fileserver/Office$"_s);
}

void tst_LinuxDriveTable::ramDisks()
{
    LinuxDriveTable table;
    table.update(mountsOf(u"ram-disks.mountinfo"_s), probe());
    // /tmp, /run and /dev/shm are the system's; /home is the root's btrfs again.
    compareDrives(table,
                  {{'C', u"/"_s, DriveType::Fixed},
                   {'D', u"/mnt/ramdisk"_s, DriveType::RamDisk},
                   {'E', u"/media/ramfs"_s, DriveType::RamDisk},
                   {'F', u"/var/cache/build"_s, DriveType::RamDisk}});
}

void tst_LinuxDriveTable::escapedMountPoints()
{
    LinuxDriveTable table;
    table.update(mountsOf(u"escaped.mountinfo"_s), probe({}, {u"8:33"_s}));
    compareDrives(table,
                  {{'C', u"/"_s, DriveType::Fixed},
                   {'D', u"/media/ann/My Passport"_s, DriveType::Removable},
                   {'E', u"/media/ann/Debian 12.5.0 amd64 1"_s, DriveType::CdRom},
                   {'F', u"/mnt/tab\tand\\back"_s, DriveType::Fixed},
                   {'G', u"/mnt/line\nbreak"_s, DriveType::Fixed}});
}

void tst_LinuxDriveTable::moreThan24Drives()
{
    LinuxDriveTable table;
    table.update(mountsOf(u"more-than-24-drives.mountinfo"_s), probe());
    const QList<LinuxDrive> drives = table.drives();
    QCOMPARE(drives.size(), 24);
    QCOMPARE(drives.first().letter, u'C');
    QCOMPARE(drives.last().letter, u'Z');
    QCOMPARE(drives.last().mount.mountPoint, u"/srv/disk23"_s);
    QCOMPARE(table.letterMask(), 0x3FFFFFCu);
}

void tst_LinuxDriveTable::lettersStayWhenTheTableChanges()
{
    QList<MountEntry> mounts = mountsOf(u"desktop.mountinfo"_s);
    LinuxDriveTable table;
    table.update(mounts, probe({}, {u"8:17"_s}));
    // The EFI partition goes, a stick comes after the other one.
    mounts.removeIf([](const MountEntry &m) { return m.mountPoint == u"/boot/efi"_s; });
    mounts.append({1300, 28, 8, 33, u"/"_s, u"/media/ann/BACKUP"_s, u"exfat"_s, u"/dev/sdc1"_s});
    mounts.append({1301, 28, 8, 49, u"/"_s, u"/media/ann/PHOTOS"_s, u"vfat"_s, u"/dev/sdd1"_s});
    table.update(mounts, probe({}, {u"8:17"_s, u"8:33"_s, u"8:49"_s}));
    compareDrives(table,
                  {{'C', u"/"_s, DriveType::Fixed},
                   {'D', u"/home"_s, DriveType::Fixed},
                   {'E', u"/media/ann/BACKUP"_s, DriveType::Removable},
                   {'F', u"/media/ann/STICK"_s, DriveType::Removable},
                   {'G', u"/media/ann/PHOTOS"_s, DriveType::Removable}});
}

void tst_LinuxDriveTable::theLastMountAtAPlaceIsTheVisibleOne()
{
    const QList<MountEntry> mounts{
        {1, 1, 0, 2, u"/"_s, u"/"_s, u"rootfs"_s, u"rootfs"_s},
        {20, 1, 8, 2, u"/"_s, u"/"_s, u"ext4"_s, u"/dev/sda2"_s},
        {30, 20, 8, 17, u"/"_s, u"/mnt/data"_s, u"ext4"_s, u"/dev/sdb1"_s},
        {31, 30, 8, 33, u"/"_s, u"/mnt/data"_s, u"xfs"_s, u"/dev/sdc1"_s},
        {32, 20, 8, 17, u"/"_s, u"/mnt/again"_s, u"ext4"_s, u"/dev/sdb1"_s},
    };
    LinuxDriveTable table;
    table.update(mounts, probe());
    compareDrives(table,
                  {{'C', u"/"_s, DriveType::Fixed},
                   {'D', u"/mnt/data"_s, DriveType::Fixed},
                   {'E', u"/mnt/again"_s, DriveType::Fixed}});
    QCOMPARE(table.drive(u'C')->mount.source, u"/dev/sda2"_s);
    QCOMPARE(table.drive(u'D')->mount.fileSystemType, u"xfs"_s);
}

void tst_LinuxDriveTable::pathsBelongToTheDeepestMountPoint()
{
    LinuxDriveTable table;
    table.update(mountsOf(u"desktop.mountinfo"_s), probe());
    QCOMPARE(table.driveHolding(u"/home/ann/src"_s)->letter, u'D');
    QCOMPARE(table.driveHolding(u"/home"_s)->letter, u'D');
    QCOMPARE(table.driveHolding(u"/homework"_s)->letter, u'C');
    QCOMPARE(table.driveHolding(u"/boot/efi/EFI"_s)->letter, u'E');
    QCOMPARE(table.driveHolding(u"/"_s)->letter, u'C');
    QVERIFY(!table.driveHolding(u"relative"_s));
}

QTEST_GUILESS_MAIN(tst_LinuxDriveTable)
#include "tst_linuxdrivetable.moc"
