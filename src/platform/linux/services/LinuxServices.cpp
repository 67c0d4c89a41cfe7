// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxServices.h"

#include "InitScriptHeader.h"
#include "SystemdServiceList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// A snapshot of the service list taken when the manager opens, handed out in batches.
class LinuxServiceManager final : public ServiceManager
{
public:
    explicit LinuxServiceManager(QList<ServiceEntry> services)
        : m_services(std::move(services))
    {
    }

    QStringList enumerateServices(quint32 serviceType, quint32 serviceState, quint32 &resumeHandle,
                                  int maxRecords) override
    {
        QStringList names;
        for (const ServiceEntry &service : enumerateServiceEntries(serviceType, serviceState, resumeHandle, maxRecords))
            names.append(service.displayName);
        return names;
    }

    QList<ServiceEntry> enumerateServiceEntries(quint32 serviceType, quint32 serviceState, quint32 &resumeHandle,
                                                int maxRecords) override
    {
        // Every unit is a service in a process of its own; none is a driver.
        if ((serviceType & ServiceSource::Win32Services) == 0 || (serviceState & ServiceSource::AllStates) == 0)
            return {};
        const qsizetype start = std::min<qsizetype>(resumeHandle, m_services.size());
        QList<ServiceEntry> batch = m_services.mid(start, std::max(maxRecords, 0));
        resumeHandle = quint32(start + batch.size());
        return batch;
    }

private:
    QList<ServiceEntry> m_services;
};

// Files in /etc/init.d that are no service of their own.
bool isInitScript(const QString &name)
{
    // A view of static text: the reading thread may outlive the static objects at exit.
    constexpr std::array<QStringView, 4> NotServices{u"README", u"skeleton", u"rc", u"rcS"};
    return std::ranges::find(NotServices, QStringView(name)) == NotServices.end() && !name.startsWith(u'.')
        && !name.endsWith(u'~') && !name.contains(u".dpkg-"_s);
}

} // namespace

LinuxServices::LinuxServices(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

std::unique_ptr<ServiceManager> LinuxServices::openManager(quint32)
{
    std::optional<QList<ServiceEntry>> services = SystemdServiceList(m_root).services();
    if (!services)
        services = initScripts();
    if (!services)
        return nullptr;
    return std::make_unique<LinuxServiceManager>(std::move(*services));
}

// The init scripts by name, ordered without regard to case.
std::optional<QList<ServiceEntry>> LinuxServices::initScripts() const
{
    const QDir directory(QDir(m_root).filePath(u"etc/init.d"_s));
    if (!QFileInfo(directory.path()).isReadable() || !directory.exists())
        return std::nullopt;
    const QFileInfoList scripts = directory.entryInfoList(QDir::Files | QDir::Executable,
                                                          QDir::Name | QDir::IgnoreCase);
    QList<ServiceEntry> services;
    for (const QFileInfo &script : std::as_const(scripts)) {
        if (!isInitScript(script.fileName()))
            continue;
        QFile file(script.filePath());
        const QByteArray contents = file.open(QIODevice::ReadOnly) ? file.read(qint64{64} * 1024) : QByteArray();
        services.append({script.fileName(), InitScriptHeader::shortDescription(contents).value_or(script.fileName())});
    }
    return services;
}
