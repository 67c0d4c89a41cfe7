#include "LinuxServices.h"

#include "InitScriptHeader.h"
#include "SystemdServiceList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A snapshot of the service list taken when the manager opens, handed out in batches.
class LinuxServiceManager final : public ServiceManager
{
public:
    explicit LinuxServiceManager(QStringList displayNames)
        : m_displayNames(std::move(displayNames))
    {
    }

    QStringList enumerateServices(quint32 serviceType, quint32 serviceState, quint32 &resumeHandle,
                                  int maxRecords) override
    {
        // Every unit is a service in a process of its own; none is a driver.
        if ((serviceType & ServiceSource::Win32Services) == 0 || (serviceState & ServiceSource::AllStates) == 0)
            return {};
        const qsizetype start = std::min<qsizetype>(resumeHandle, m_displayNames.size());
        QStringList batch = m_displayNames.mid(start, std::max(maxRecords, 0));
        resumeHandle = quint32(start + batch.size());
        return batch;
    }

private:
    QStringList m_displayNames;
};

// Files in /etc/init.d that are no service of their own.
bool isInitScript(const QString &name)
{
    static const QStringList NotServices{u"README"_s, u"skeleton"_s, u"rc"_s, u"rcS"_s};
    return !NotServices.contains(name) && !name.startsWith(u'.') && !name.endsWith(u'~') && !name.contains(u".dpkg-"_s);
}

} // namespace

LinuxServices::LinuxServices(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

std::unique_ptr<ServiceManager> LinuxServices::openManager(quint32)
{
    std::optional<QStringList> displayNames = SystemdServiceList(m_root).displayNames();
    if (!displayNames)
        displayNames = initScriptNames();
    if (!displayNames)
        return nullptr;
    return std::make_unique<LinuxServiceManager>(std::move(*displayNames));
}

// Display names of the init scripts, ordered by script name without regard to case.
std::optional<QStringList> LinuxServices::initScriptNames() const
{
    const QDir directory(QDir(m_root).filePath(u"etc/init.d"_s));
    if (!QFileInfo(directory.path()).isReadable() || !directory.exists())
        return std::nullopt;
    const QFileInfoList scripts = directory.entryInfoList(QDir::Files | QDir::Executable,
                                                          QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QFileInfo &script : std::as_const(scripts)) {
        if (!isInitScript(script.fileName()))
            continue;
        QFile file(script.filePath());
        const QByteArray contents = file.open(QIODevice::ReadOnly) ? file.read(qint64{64} * 1024) : QByteArray();
        names.append(InitScriptHeader::shortDescription(contents).value_or(script.fileName()));
    }
    return names;
}
