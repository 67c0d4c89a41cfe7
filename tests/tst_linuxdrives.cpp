// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/drives/TDriveComboBox.h"
#include "controls/text/TLabel.h"
#include "pages/DiskPage.h"
#include "platform/Failure.h"
#include "platform/linux/drives/LinuxDrives.h"
#include "support/TestData.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/statvfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Every look at a drive is waited for, so each answer is the answer of the moment.
const QueryPatience Patient = QueryPatience::answerOfTheMoment();

constexpr quint32 bit(char letter)
{
    return 1u << (letter - 'A');
}

// A directory tree standing in for "/": mount table, /dev, /sys and mount points.
class FixtureTree
{
public:
    explicit FixtureTree(const QString &mountTable)
    {
        write(u"proc/self/mountinfo"_s, testData(u"mountinfo/"_s + mountTable));
    }

    QString path(const QString &relative = {}) const { return m_dir.filePath(relative); }

    void directory(const QString &relative) const { QDir(m_dir.path()).mkpath(relative); }

    void write(const QString &relative, const QByteArray &content) const
    {
        directory(QFileInfo(path(relative)).path().mid(m_dir.path().size() + 1));
        QFile file(path(relative));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }

    void link(const QString &relative, const QString &target) const
    {
        directory(QFileInfo(path(relative)).path().mid(m_dir.path().size() + 1));
        if (!QFile::link(target, path(relative)))
            qFatal("cannot link %s", qPrintable(relative));
    }

private:
    QTemporaryDir m_dir;
};

// The desktop's table with its devices, udev links and a USB stick in sysfs.
void buildDesktop(const FixtureTree &tree)
{
    for (const QString &directory : {u"home/ann/src"_s, u"boot/efi"_s, u"media/ann/STICK"_s})
        tree.directory(directory);
    for (const QString &device : {u"nvme0n1p1"_s, u"nvme0n1p2"_s, u"nvme0n1p3"_s, u"sdb1"_s})
        tree.write(u"dev/"_s + device, {});
    tree.link(u"dev/disk/by-label/EFI\\x20SYSTEM"_s, u"../../nvme0n1p1"_s);
    tree.link(u"dev/disk/by-label/STICK"_s, u"../../sdb1"_s);
    tree.link(u"dev/disk/by-uuid/1A2B-3C4D"_s, u"../../nvme0n1p1"_s);
    tree.link(u"dev/disk/by-uuid/e3b0c442-98fc-1c14-9afb-f4c8996fb924"_s, u"../../nvme0n1p3"_s);
    tree.link(u"dev/disk/by-uuid/0A1B-2C3D"_s, u"../../sdb1"_s);
    const QString usbDisk =
        u"sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/host6/target6:0:0/6:0:0:0/block/sdb"_s;
    tree.write(usbDisk + u"/removable"_s, "1\n");
    tree.directory(usbDisk + u"/sdb1"_s);
    tree.link(u"sys/dev/block/8:17"_s, u"../../"_s + usbDisk.mid(4) + u"/sdb1"_s);
    const QString nvmeDisk = u"sys/devices/pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1"_s;
    tree.write(nvmeDisk + u"/removable"_s, "0\n");
    for (const QString &partition : {u"nvme0n1p1"_s, u"nvme0n1p2"_s, u"nvme0n1p3"_s})
        tree.directory(nvmeDisk + u'/' + partition);
    for (int minor = 1; minor <= 3; ++minor)
        tree.link(u"sys/dev/block/259:%1"_s.arg(minor), u"../../"_s + nvmeDisk.mid(4) + u"/nvme0n1p%1"_s.arg(minor));
}

// Unmounts what the line of the fixture's mount table beginning with these fields mounted.
void unmount(const FixtureTree &tree, const QByteArray &lineStart)
{
    QFile table(tree.path(u"proc/self/mountinfo"_s));
    if (!table.open(QIODevice::ReadOnly))
        qFatal("cannot read the mount table");
    QByteArray text = table.readAll();
    table.close();
    const qsizetype start = text.indexOf(lineStart);
    text.remove(start, text.indexOf('\n', start) + 1 - start);
    tree.write(u"proc/self/mountinfo"_s, text);
}

struct statvfs volumeOf(const QString &path)
{
    struct statvfs volume
    { };
    if (::statvfs(QFile::encodeName(path).constData(), &volume) != 0)
        qFatal("statvfs %s failed", qPrintable(path));
    return volume;
}

// The disk page on a tree's drives, as the user picks them.
class DiskPageOnTree
{
public:
    explicit DiskPageOnTree(LinuxDrives &drives)
        : m_page(drives, nullptr)
    {
        m_page.driveSelector()->BuildDriveList();
    }

    // The change handler with the window's guard: a drive that cannot be made current is not an error.
    void pick(QChar letter)
    {
        m_page.driveSelector()->SetDriveLetter(letter);
        try {
            m_page.driveChanged();
        } catch (const Failure &) {
        }
    }
    void tick()
    {
        m_page.writeTotalSize();
        m_page.writeFreeSize();
    }
    QStringList sizes() const { return {text("Label22"), text("Label24")}; }

private:
    QString text(const char *name) const { return m_page.findChild<TLabel *>(QString::fromLatin1(name))->caption(); }

    DiskPage m_page;
};

QStringList sizesOf(const QString &path)
{
    const struct statvfs volume = volumeOf(path);
    const auto megabytes = [](quint64 bytes) {
        return u"%1 MB"_s.arg(bytes / (quint64(1024) * 1024));
    };
    return {megabytes(quint64(volume.f_blocks) * volume.f_frsize),
            megabytes(quint64(volume.f_bavail) * volume.f_frsize)};
}

} // namespace

class tst_LinuxDrives : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_startDirectory = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_startDirectory); }

    void desktopDrivesAndTheirTypes();
    void labelsAndSerialsFromUdevLinks();
    void currentDirectoryPerDrive();
    void namesWithBackslashesFindTheirWayBack();
    void sizesOfTheCurrentDrive();
    void driveThatIsGoneFails();
    void sizesAreThoseOfTheChosenDrive();
    void mountPointTheUserMayNotEnter();
    void containerListsNoFileBinds();
    void networkDrivesAnswerTheirShares();
    void thisMachinesRootIsDriveC();
    void oneReadingOfChangingMountsServesAHandler();

private:
    QString m_startDirectory;
};

void tst_LinuxDrives::desktopDrivesAndTheirTypes()
{
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    LinuxDrives drives(tree.path(), Patient);
    QCOMPARE(drives.logicalDrives(), bit('C') | bit('D') | bit('E') | bit('F'));
    QCOMPARE(drives.driveType(u"C:\\"_s), DriveType::Fixed);
    QCOMPARE(drives.driveType(u"d:\\"_s), DriveType::Fixed);
    QCOMPARE(drives.driveType(u"E:\\"_s), DriveType::Fixed);
    QCOMPARE(drives.driveType(u"f:\\"_s), DriveType::Removable);
    QCOMPARE(drives.driveType(u"G:\\"_s), DriveType::NoRootDir);
    QCOMPARE(drives.driveType(u"C:"_s), DriveType::NoRootDir);
    QCOMPARE(drives.driveType(QString()), DriveType::NoRootDir);
    QVERIFY(!drives.volumeInformation(u"G:\\"_s));
    QVERIFY(!drives.remoteName(u"F:"_s));
}

void tst_LinuxDrives::labelsAndSerialsFromUdevLinks()
{
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    LinuxDrives drives(tree.path(), Patient);
    const std::optional<VolumeInformation> efi = drives.volumeInformation(u"E:\\"_s);
    QVERIFY(efi);
    QCOMPARE(efi->volumeName, u"EFI SYSTEM"_s);
    QCOMPARE(efi->serialNumber, 0x1A2B3C4Du);
    QCOMPARE(efi->fileSystemName, u"vfat"_s);
    const std::optional<VolumeInformation> stick = drives.volumeInformation(u"F:\\"_s);
    QVERIFY(stick);
    QCOMPARE(stick->volumeName, u"STICK"_s);
    QCOMPARE(stick->serialNumber, 0x0A1B2C3Du);
    const std::optional<VolumeInformation> home = drives.volumeInformation(u"D:\\"_s);
    QVERIFY(home);
    QCOMPARE(home->serialNumber, 0xE3B0C442u);
    QCOMPARE(home->fileSystemName, u"ext4"_s);
    // No udev link for the root: the serial number comes from the file system's ID.
    const std::optional<VolumeInformation> root = drives.volumeInformation(u"C:\\"_s);
    QVERIFY(root);
    QCOMPARE(root->serialNumber, quint32(volumeOf(tree.path()).f_fsid & 0xFFFFFFFFu));
    // A mount point that cannot be read: the volume cannot be queried, from the next look on.
    QDir(tree.path(u"media/ann/STICK"_s)).removeRecursively();
    QTRY_VERIFY(!drives.volumeInformation(u"F:\\"_s));
}

void tst_LinuxDrives::currentDirectoryPerDrive()
{
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    LinuxDrives drives(tree.path(), Patient);
    QVERIFY(drives.setCurrentDirectory(u"D:\\ann\\src"_s));
    QCOMPARE(drives.currentDirectory(), u"D:\\ann\\src"_s);
    // "X:" enters the directory last entered on X, at first its mount point.
    QVERIFY(drives.setCurrentDirectory(u"E:"_s));
    QCOMPARE(drives.currentDirectory(), u"E:\\"_s);
    QVERIFY(drives.setCurrentDirectory(u"C:"_s));
    QCOMPARE(drives.currentDirectory(), u"C:\\"_s);
    QVERIFY(drives.setCurrentDirectory(u"D:"_s));
    QCOMPARE(drives.currentDirectory(), u"D:\\ann\\src"_s);
    QVERIFY(drives.setCurrentDirectory(u"D:"_s));
    QCOMPARE(drives.currentDirectory(), u"D:\\ann\\src"_s);
    // A path on C that is another drive's place reads as that drive's.
    QVERIFY(drives.setCurrentDirectory(u"C:\\boot\\efi"_s));
    QCOMPARE(drives.currentDirectory(), u"E:\\"_s);
    // What cannot be entered leaves the current directory where it was.
    QVERIFY(!drives.setCurrentDirectory(u"G:"_s));
    QVERIFY(!drives.setCurrentDirectory(u"D:\\missing"_s));
    QVERIFY(!drives.setCurrentDirectory(u"relative"_s));
    QCOMPARE(drives.currentDirectory(), u"E:\\"_s);
    // The directory is the program's own: the process never enters a drive, so none is held busy.
    QCOMPARE(QDir::currentPath(), m_startDirectory);
    // Started outside the tree that stands for "/", there is no drive to name.
    QDir::setCurrent(QDir::tempPath());
    QVERIFY(!LinuxDrives(tree.path(), Patient).currentDirectory().startsWith(u"C:"_s));
}

void tst_LinuxDrives::namesWithBackslashesFindTheirWayBack()
{
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    tree.directory(u"home/a\\b"_s);
    LinuxDrives drives(tree.path(), Patient);
    QVERIFY(QDir::setCurrent(tree.path(u"home/a\\b"_s)));
    const QString presented = drives.currentDirectory();
    QCOMPARE(presented, u"D:\\a\\b"_s);
    QVERIFY(drives.setCurrentDirectory(u"C:"_s));
    QVERIFY(drives.setCurrentDirectory(presented));
    QCOMPARE(drives.currentDirectory(), presented);
}

void tst_LinuxDrives::sizesOfTheCurrentDrive()
{
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    LinuxDrives drives(tree.path(), Patient);
    const struct statvfs volume = volumeOf(tree.path());
    QCOMPARE(drives.totalBytes(u"C:\\"_s), std::optional<quint64>(quint64(volume.f_blocks) * volume.f_frsize));
    // Free for the caller: reserved blocks are not counted.
    const std::optional<quint64> free = drives.freeBytesForCaller(u"C:\\"_s);
    QVERIFY(free);
    QVERIFY(*free <= quint64(volume.f_bfree) * volume.f_frsize);
    QCOMPARE(*free % volume.f_frsize, 0u);
}

void tst_LinuxDrives::driveThatIsGoneFails()
{
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    LinuxDrives drives(tree.path(), Patient);
    QVERIFY(drives.setCurrentDirectory(u"F:"_s));
    QVERIFY(drives.setCurrentDirectory(u"C:"_s));
    // The stick is unmounted; its mount point stays behind, empty.
    QFile table(tree.path(u"proc/self/mountinfo"_s));
    QVERIFY(table.open(QIODevice::ReadOnly));
    QByteArray text = table.readAll();
    table.close();
    text.truncate(text.indexOf("1203 28 8:17"));
    tree.write(u"proc/self/mountinfo"_s, text);
    QVERIFY(!drives.setCurrentDirectory(u"F:"_s));
    QVERIFY(!drives.setCurrentDirectory(u"F:\\"_s));
    QCOMPARE(drives.driveType(u"F:\\"_s), DriveType::NoRootDir);
    QCOMPARE(drives.logicalDrives(), bit('C') | bit('D') | bit('E'));
    QCOMPARE(drives.currentDirectory(), u"C:\\"_s);
}

// A chosen drive that cannot be entered or measured never shows another drive's sizes.
void tst_LinuxDrives::sizesAreThoseOfTheChosenDrive()
{
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    // The stick's mount point is gone, its drive still in the mount table.
    QDir(tree.path(u"media/ann/STICK"_s)).removeRecursively();
    LinuxDrives drives(tree.path(), Patient);
    DiskPageOnTree page(drives);
    page.pick(u'c');
    QCOMPARE(page.sizes(), sizesOf(tree.path()));
    QVERIFY(page.sizes().first() != u"0 MB"_s);
    page.pick(u'f');
    QCOMPARE(page.sizes(), QStringList({u"0 MB"_s, u"0 MB"_s}));
    page.tick();
    QCOMPARE(page.sizes(), QStringList({u"0 MB"_s, u"0 MB"_s}));
    QCOMPARE(drives.currentDirectory(), u"C:\\"_s);
}

// Measured from its mount point, which needs no way in; it is not made current.
void tst_LinuxDrives::mountPointTheUserMayNotEnter()
{
    if (::geteuid() == 0)
        QSKIP("running as root, who may enter any directory: run as an ordinary user (setpriv --reuid=nobody) to check "
              "this");
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    const QString stick = tree.path(u"media/ann/STICK"_s);
    QVERIFY(QFile::setPermissions(stick, QFileDevice::Permissions()));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(stick, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    LinuxDrives drives(tree.path(), Patient);
    DiskPageOnTree page(drives);
    page.pick(u'c');
    page.pick(u'f');
    // The change stops where the drive cannot be made current; the next tick measures it.
    QCOMPARE(drives.currentDirectory(), u"C:\\"_s);
    QCOMPARE(page.sizes(), QStringList({u"0 MB"_s, u"0 MB"_s}));
    page.tick();
    QCOMPARE(page.sizes(), sizesOf(stick));
}

void tst_LinuxDrives::containerListsNoFileBinds()
{
    FixtureTree tree(u"docker-container.mountinfo"_s);
    for (const QString &file : {u"etc/resolv.conf"_s, u"etc/hostname"_s, u"etc/hosts"_s})
        tree.write(file, "x\n");
    tree.directory(u"work"_s);
    tree.directory(u"scratch"_s);
    LinuxDrives drives(tree.path(), Patient);
    QCOMPARE(drives.logicalDrives(), bit('C') | bit('D') | bit('E'));
    QCOMPARE(drives.driveType(u"C:\\"_s), DriveType::Fixed);
    QCOMPARE(drives.driveType(u"E:\\"_s), DriveType::RamDisk);
    // No udev in a container: the root's serial comes from its file-system ID.
    const std::optional<VolumeInformation> root = drives.volumeInformation(u"C:\\"_s);
    QVERIFY(root);
    QCOMPARE(root->fileSystemName, u"overlay"_s);
    QCOMPARE(root->serialNumber, quint32(volumeOf(tree.path()).f_fsid & 0xFFFFFFFFu));
}

void tst_LinuxDrives::networkDrivesAnswerTheirShares()
{
    FixtureTree tree(u"network-shares.mountinfo"_s);
    for (const QString &directory : {u"mnt/nas"_s, u"mnt/office"_s, u"home/ann/remote"_s, u"mnt/backup"_s})
        tree.directory(directory);
    LinuxDrives drives(tree.path(), Patient);
    QCOMPARE(drives.driveType(u"D:\\"_s), DriveType::Remote);
    QCOMPARE(drives.remoteName(u"D:"_s), std::optional<QString>(u"nas.example.lan:/export/media"_s));
    QCOMPARE(drives.remoteName(u"e:"_s), std::optional<QString>(u"//fileserver/Office$"_s));
    QVERIFY(!drives.remoteName(u"C:"_s));
    QVERIFY(!drives.remoteName(u"E:\\"_s));
    QCOMPARE(drives.volumeInformation(u"F:\\"_s)->fileSystemName, u"fuse.sshfs"_s);
    QCOMPARE(drives.volumeInformation(u"F:\\"_s)->volumeName, QString());
}

void tst_LinuxDrives::thisMachinesRootIsDriveC()
{
    LinuxDrives drives(u"/"_s, Patient);
    QVERIFY(drives.logicalDrives() & bit('C'));
    QVERIFY(drives.driveType(u"C:\\"_s) != DriveType::NoRootDir);
    const std::optional<VolumeInformation> root = drives.volumeInformation(u"C:\\"_s);
    QVERIFY(root);
    QVERIFY(!root->fileSystemName.isEmpty());
    if (!QFileInfo::exists(u"/dev/disk/by-uuid"_s))
        QCOMPARE(root->serialNumber, quint32(volumeOf(u"/"_s).f_fsid & 0xFFFFFFFFu));
    QVERIFY(drives.setCurrentDirectory(u"C:\\"_s));
    QCOMPARE(drives.currentDirectory(), u"C:\\"_s);
    const struct statvfs volume = volumeOf(u"/"_s);
    QCOMPARE(drives.totalBytes(u"C:\\"_s), std::optional<quint64>(quint64(volume.f_blocks) * volume.f_frsize));
    QVERIFY(drives.totalBytes(u"C:\\"_s) > 0u);
}

void tst_LinuxDrives::oneReadingOfChangingMountsServesAHandler()
{
    FixtureTree tree(u"desktop.mountinfo"_s);
    buildDesktop(tree);
    LinuxDrives drives(tree.path());
    QCOMPARE(drives.logicalDrives(), bit('C') | bit('D') | bit('E') | bit('F'));
    QList<quint32> seen;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        unmount(tree, "1203 28 8:17");
        seen.append(drives.logicalDrives());
        unmount(tree, "66 28 259:1");
        seen.append(drives.logicalDrives());
        QTimer::singleShot(0, &loop, [&] {
            seen.append(drives.logicalDrives());
            loop.quit();
        });
    });
    loop.exec();
    const quint32 withoutStick = bit('C') | bit('D') | bit('E');
    QCOMPARE(seen, (QList<quint32>{withoutStick, withoutStick, bit('C') | bit('D')}));
}

QTEST_MAIN(tst_LinuxDrives)
#include "tst_linuxdrives.moc"
