// SPDX-License-Identifier: GPL-3.0-or-later
// Rebuilding the drive table after a change of the mount table, on a machine
// with 10,000 mounts: container layers, snaps, run-time tmpfs, bind mounts and
// a few real drives, as a busy container host has them.
#include "platform/linux/drives/LinuxDriveTable.h"
#include "platform/linux/drives/LinuxDrives.h"
#include "platform/linux/drives/MountInfoParser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int MountCount = 10'000;

// One line of /proc/self/mountinfo for the i-th mount after the root.
QByteArray mountLine(int i)
{
    const int id = 100 + i;
    switch (i % 10) {
    case 0:
    case 1:
    case 2:
    case 3:
        return u"%1 28 0:%2 / /var/lib/docker/overlay2/%3/merged rw,relatime - overlay overlay rw,lowerdir=/l"_s.arg(id)
            .arg(1000 + i)
            .arg(i, 16, 16, QChar(u'0'))
            .toUtf8();
    case 4:
    case 5:
    case 6:
        return u"%1 28 7:%2 / /snap/app%3/%4 ro,nodev,relatime - squashfs /dev/loop%2 ro"_s.arg(id)
            .arg(i)
            .arg(i / 10)
            .arg(i % 97)
            .toUtf8();
    case 7:
    case 8:
        return u"%1 26 0:%2 / /run/credentials/unit%3.service ro,nosuid - tmpfs tmpfs rw,size=1024k"_s.arg(id)
            .arg(1000 + i)
            .arg(i)
            .toUtf8();
    default:
        // Bind mounts of the root file system's directories, and now and then a disk of its own.
        if (i % 1000 == 9)
            return u"%1 28 8:%2 / /srv/disk%3 rw,relatime - ext4 /dev/sdb%2 rw"_s.arg(id).arg(i / 1000).arg(i).toUtf8();
        return u"%1 28 8:2 /srv/share%2 /home/user%2/share rw,relatime - ext4 /dev/sda2 rw"_s.arg(id).arg(i).toUtf8();
    }
}

QByteArray mountTable(int count)
{
    QByteArray table = "22 28 0:21 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw\n"
                       "23 28 0:22 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
                       "26 28 0:24 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw\n"
                       "28 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n";
    for (int i = 1; i < count; ++i)
        table += mountLine(i) + '\n';
    return table;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

// The table alone: every mount point a directory, no device removable.
static void rebuildDriveTable_10000Mounts(benchmark::State &state)
{
    const QList<MountEntry> before = MountInfoParser::parse(mountTable(MountCount));
    const QList<MountEntry> after = MountInfoParser::parse(mountTable(MountCount - 1));
    const LinuxDriveTable::Probe probe{[](const QString &) { return true; },
                                       [](quint32, quint32) {
                                           return false;
                                       }};
    LinuxDriveTable table;
    bool odd = false;
    for (auto _ : state) {
        table.update((odd = !odd) ? after : before, probe);
        benchmark::DoNotOptimize(table.letterMask());
    }
    state.counters["drives"] = double(table.drives().size());
}
BENCHMARK(rebuildDriveTable_10000Mounts)->Unit(benchmark::kMillisecond);

// What a change of the mount table costs the drive source: reading, parsing and
// the rebuild, with the probes of the mount points that a bind mount brings.
static void mountTableChange_10000Mounts(benchmark::State &state)
{
    QTemporaryDir tree;
    const QString table = tree.path() + u"/proc/self/mountinfo"_s;
    const QByteArray texts[2] = {mountTable(MountCount), mountTable(MountCount - 1)};
    writeFile(table, texts[0]);
    LinuxDrives drives(tree.path());
    benchmark::DoNotOptimize(drives.logicalDrives());
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(table, texts[++round % 2]);
        state.ResumeTiming();
        benchmark::DoNotOptimize(drives.logicalDrives());
    }
}
BENCHMARK(mountTableChange_10000Mounts)->Unit(benchmark::kMillisecond);
