// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeServices.h"

#include "FakeMachine.h"

namespace {

class FakeServiceManager final : public ServiceManager
{
public:
    explicit FakeServiceManager(const FakeServiceTable &table)
        : m_names(table.displayNames)
        , m_serviceNames(table.names)
    {
    }

    QStringList enumerateServices(quint32, quint32, quint32 &resumeHandle, int maxRecords) override
    {
        const qsizetype start = qMin(qsizetype(resumeHandle), m_names.size());
        QStringList batch = m_names.mid(start, maxRecords);
        resumeHandle = quint32(start + batch.size());
        return batch;
    }

    QList<ServiceEntry> enumerateServiceEntries(quint32 serviceType, quint32 serviceState, quint32 &resumeHandle,
                                                int maxRecords) override
    {
        const qsizetype start = qMin(qsizetype(resumeHandle), m_names.size());
        QList<ServiceEntry> batch;
        for (const QString &displayName : enumerateServices(serviceType, serviceState, resumeHandle, maxRecords)) {
            const qsizetype index = start + batch.size();
            batch.append({m_serviceNames.value(index, displayName), displayName});
        }
        return batch;
    }

private:
    QStringList m_names;
    QStringList m_serviceNames;
};

} // namespace

std::unique_ptr<ServiceManager> FakeServices::openManager(quint32)
{
    if (!m_machine.services.managerOpens)
        return nullptr;
    return std::make_unique<FakeServiceManager>(m_machine.services);
}
