// SPDX-License-Identifier: GPL-3.0-or-later
// The disk steps of one Timer5 tick, and building the drive selector's list,
// on the Linux backend: on this machine and on a desktop-like tree of 20 mounts.
#include "controls/drives/TDriveComboBox.h"
#include "pages/DiskPage.h"
#include "platform/linux/drives/LinuxDrives.h"
#include "platform/linux/drives/MountProbeServer.h"
#include "platform/linux/drives/MountProbes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr int MountCount = 20;

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

void link(const QString &path, const QString &target)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile::link(target, path);
}

// Root, 19 more drives (disks with udev names, USB sticks, shares, a RAM disk)
// and the pseudo file systems every desktop has.
std::unique_ptr<QTemporaryDir> twentyMountTree()
{
    auto tree = std::make_unique<QTemporaryDir>();
    const QString root = tree->path();
    QByteArray table = "22 28 0:21 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw\n"
                       "23 28 0:22 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
                       "24 28 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8119304k,mode=755\n"
                       "25 24 0:23 / /dev/pts rw,nosuid,noexec,relatime shared:3 - devpts devpts rw,gid=5,mode=620\n"
                       "26 28 0:24 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1631628k\n"
                       "28 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
                       "30 24 0:25 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw,inode64\n"
                       "32 22 0:27 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup2 rw\n";
    writeFile(root + u"/dev/sda2"_s, {});
    for (int i = 1; i < MountCount; ++i) {
        const QString name = u"disk%1"_s.arg(i, 2, 10, QChar(u'0'));
        const QString device = u"sd%1"_s.arg(QChar(u'a' + i));
        QString line;
        if (i % 6 == 4) {
            line = u"%1 28 0:%2 / /mnt/%3 rw,relatime - nfs4 nas:/export/%3 rw,vers=4.2"_s.arg(100 + i).arg(60 + i).arg(
                name);
        } else if (i % 6 == 5) {
            line = u"%1 28 0:%2 / /mnt/%3 rw,relatime - tmpfs tmpfs rw,size=1048576k"_s.arg(100 + i).arg(60 + i).arg(
                name);
        } else {
            line = u"%1 28 8:%2 / /media/ann/%3 rw,relatime - ext4 /dev/%4 rw"_s.arg(100 + i)
                       .arg(16 * i + 1)
                       .arg(name, device);
            writeFile(root + u"/dev/"_s + device, {});
            link(root + u"/dev/disk/by-label/"_s + name.toUpper(), u"../../"_s + device);
            link(root + u"/dev/disk/by-uuid/%1-98fc-1c14-9afb-f4c8996fb924"_s.arg(0xe3b0c400 + i, 8, 16),
                 u"../../"_s + device);
            const QString parent = i % 6 == 3 ? u"usb1/1-2/block/sd"_s : u"ata1/block/sd"_s;
            const QString disk = u"sys/devices/pci0000:00/"_s + parent + QChar(u'a' + i);
            writeFile(root + u'/' + disk + u"/removable"_s, i % 6 == 3 ? "1\n" : "0\n");
            QDir().mkpath(root + u'/' + disk + u'/' + device);
            link(root + u"/sys/dev/block/8:%1"_s.arg(16 * i + 1), u"../../"_s + disk.mid(4) + u'/' + device);
        }
        table += line.toUtf8() + '\n';
        QDir().mkpath(root + line.section(u' ', 4, 4));
    }
    writeFile(root + u"/proc/self/mountinfo"_s, table);
    return tree;
}

void runDiskSteps(benchmark::State &state, LinuxDrives &drives)
{
    DiskPage page(drives, nullptr);
    for (auto _ : state) {
        page.writeVolumeLabelSerial();
        page.writeFileSystemName();
        page.writeTotalSize();
        page.writeFreeSize();
    }
}

} // namespace

static void diskStepsOfOneTick_thisMachine(benchmark::State &state)
{
    QDir::setCurrent(u"/"_s);
    LinuxDrives drives(u"/"_s);
    runDiskSteps(state, drives);
}
BENCHMARK(diskStepsOfOneTick_thisMachine)->Unit(benchmark::kMicrosecond);

static void diskStepsOfOneTick_twentyMountTree(benchmark::State &state)
{
    const auto tree = twentyMountTree();
    QDir::setCurrent(tree->path() + u"/media/ann/disk01"_s);
    LinuxDrives drives(tree->path());
    runDiskSteps(state, drives);
    QDir::setCurrent(u"/"_s);
}
BENCHMARK(diskStepsOfOneTick_twentyMountTree)->Unit(benchmark::kMicrosecond);

// As the window ticks, once a second: the look at the drive is no longer fresh,
// so the tick starts another on the drive's worker and waits for it (back-to-back
// steps above are answered by one look).
static void runDiskStepsOfFreshLooks(benchmark::State &state, QueryPatience patience)
{
    QDir::setCurrent(u"/"_s);
    LinuxDrives drives(u"/"_s, patience);
    DiskPage page(drives, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(DriveLookFreshFor + std::chrono::milliseconds(10));
        state.ResumeTiming();
        page.writeVolumeLabelSerial();
        page.writeFileSystemName();
        page.writeTotalSize();
        page.writeFreeSize();
    }
}

static void diskStepsOfOneTick_freshLook(benchmark::State &state)
{
    runDiskStepsOfFreshLooks(state, QueryPatience::window());
}
BENCHMARK(diskStepsOfOneTick_freshLook)->Unit(benchmark::kMicrosecond)->Iterations(20);

// The same, each tick waiting for its fresh look, as the snapshot tool and the
// report do: the look's whole way, to the drive's worker, through the mount
// probe and back.
static void diskStepsOfOneTick_freshLookWaitedFor(benchmark::State &state)
{
    runDiskStepsOfFreshLooks(state, QueryPatience::answerOfTheMoment());
}
BENCHMARK(diskStepsOfOneTick_freshLookWaitedFor)->Unit(benchmark::kMicrosecond)->Iterations(20);

// One look at the root's file system (sizes, id, label, whether it may be
// entered): asked of a mount probe, as every look is, and asked in this
// process, as looks were before the probes.
static void lookAtRoot_throughProbe(benchmark::State &state)
{
    MountProbeRequest request;
    request.flags = MountProbeRequest::WantLabel;
    const QByteArray root("/");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            MountProbes::instance().ask(root, request, root, root, MountProbes::Clock::time_point::max(), true));
    state.counters["probes"] = MountProbes::instance().started();
}
BENCHMARK(lookAtRoot_throughProbe)->Unit(benchmark::kMicrosecond);

static void lookAtRoot_inProcess(benchmark::State &state)
{
    MountProbeRequest request;
    request.flags = MountProbeRequest::WantLabel;
    for (auto _ : state)
        benchmark::DoNotOptimize(MountProbeServer::answer(request, "/", "/"));
}
BENCHMARK(lookAtRoot_inProcess)->Unit(benchmark::kMicrosecond);

static void buildDriveList_twentyMounts(benchmark::State &state)
{
    const auto tree = twentyMountTree();
    LinuxDrives drives(tree->path());
    TDriveComboBox selector(drives, u"DriveComboBox1"_s, QRect(16, 24, 193, 20), nullptr);
    for (auto _ : state)
        selector.BuildDriveList();
    state.counters["drives"] = selector.count();
}
BENCHMARK(buildDriveList_twentyMounts)->Unit(benchmark::kMicrosecond);

// What start-up adds once: reading the mount table and probing its devices.
static void readMountTable_twentyMounts(benchmark::State &state)
{
    const auto tree = twentyMountTree();
    for (auto _ : state) {
        LinuxDrives drives(tree->path());
        benchmark::DoNotOptimize(drives.logicalDrives());
    }
}
BENCHMARK(readMountTable_twentyMounts)->Unit(benchmark::kMicrosecond);
