// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxSystem.h"

#include "CpuTopology.h"
#include "OsRelease.h"

#include <QDir>
#include <QFile>

#include <array>

#include <sys/utsname.h>

using namespace Qt::StringLiterals;

namespace {

// Sysfs and release files are a few bytes; a larger one is not what it claims to be.
constexpr qint64 FileSizeLimit = qint64{64} * 1024;

// The file's own place, then the vendor's, as os-release(5) says.
// Views of static text: a reading thread may outlive the static objects at exit.
constexpr std::array<QLatin1StringView, 2> ReleaseFiles{"/etc/os-release"_L1, "/usr/lib/os-release"_L1};
const QString CpuDirectory = u"/sys/devices/system/cpu/"_s;

} // namespace

LinuxSystem::LinuxSystem(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

std::optional<QByteArray> LinuxSystem::readFile(const QString &absolutePath) const
{
    QFile file(QDir::cleanPath(m_root + u'/' + absolutePath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(FileSizeLimit);
}

std::optional<OperatingSystem> LinuxSystem::operatingSystem()
{
    for (const QLatin1StringView path : ReleaseFiles)
        if (const std::optional<QByteArray> text = readFile(path))
            return OsRelease::operatingSystem(*text);
    return std::nullopt;
}

std::optional<KernelIdentity> LinuxSystem::kernel()
{
    utsname names{};
    if (uname(&names) != 0)
        return std::nullopt;
    return KernelIdentity{QString::fromUtf8(names.sysname), QString::fromUtf8(names.release),
                          QString::fromUtf8(names.machine)};
}

ProcessorCount LinuxSystem::processorCount()
{
    const CpuTopology::FileReader read = [this](const QString &path) {
        return readFile(CpuDirectory + path);
    };
    return CpuTopology::count(read);
}

QString LinuxSystem::sessionType(const QString &declared, bool waylandDisplay, bool xDisplay)
{
    if (!declared.isEmpty() && declared != u"unspecified"_s)
        return declared;
    if (waylandDisplay)
        return u"wayland"_s;
    return xDisplay ? u"x11"_s : QString();
}

DesktopSession LinuxSystem::desktopSession()
{
    return {qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
            sessionType(qEnvironmentVariable("XDG_SESSION_TYPE"), !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"),
                        !qEnvironmentVariableIsEmpty("DISPLAY"))};
}
