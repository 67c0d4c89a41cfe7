// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/drives/LinuxDriveTable.h"
#include "platform/linux/drives/MountInfoParser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Every byte written as the kernel's \ooo escape reads back as the bytes themselves.
void checkEscapesRoundTrip(QByteArrayView bytes)
{
    QByteArray escaped;
    for (const char byte : bytes)
        escaped += '\\' + QByteArray::number(uchar(byte), 8).rightJustified(3, '0');
    require(MountInfoParser::unescape(escaped) == QString::fromUtf8(bytes));
}

// The drive letters the table gives: C to Z, each once, the root file system on C.
void checkLetters(const LinuxDriveTable &table)
{
    quint32 mask = 0;
    for (const LinuxDrive &drive : table.drives()) {
        require(drive.letter >= u'C' && drive.letter <= u'Z');
        require(table.drive(drive.letter) && table.drive(drive.letter)->mount == drive.mount);
        require(drive.mount.mountPoint != u"/"_s || drive.letter == u'C');
        require(table.driveHolding(drive.mount.mountPoint) != nullptr);
        table.driveHolding(drive.mount.mountPoint + u"/sub"_s);
        mask |= 1u << (drive.letter.unicode() - u'A');
    }
    require(mask == table.letterMask());
}

bool sameDrives(const QList<LinuxDrive> &a, const QList<LinuxDrive> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const LinuxDrive &x, const LinuxDrive &y) {
        return x.letter == y.letter && x.mount == y.mount && x.type == y.type;
    });
}

} // namespace

// The kernel's mount table, and the drives the table's rules pick from it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<MountEntry> mounts = MountInfoParser::parse(text);
    checkEscapesRoundTrip(text.first(qMin<qsizetype>(text.size(), 64)));

    // The probe answers from the mount itself, so a run depends on the input alone.
    const LinuxDriveTable::Probe probe{
        [](const QString &mountPoint) { return mountPoint.size() % 2 == 0; },
        [](quint32 major, quint32 minor) { return (major ^ minor) % 3 == 0; },
    };
    LinuxDriveTable table;
    table.update(mounts, probe);
    checkLetters(table);
    const QList<LinuxDrive> first = table.drives();
    // The same table again changes nothing; a shorter one and back keeps the letters of what stayed.
    table.update(mounts, probe);
    require(sameDrives(table.drives(), first));
    table.update(mounts.mid(mounts.size() / 2), probe);
    checkLetters(table);
    table.update(mounts, probe);
    checkLetters(table);
    for (const MountEntry &mount : mounts)
        table.driveHolding(mount.mountPoint);
    return 0;
}
