#include "FakeServices.h"

#include "FakeMachine.h"

namespace {

class FakeServiceManager final : public ServiceManager
{
public:
    explicit FakeServiceManager(QStringList names)
        : m_names(std::move(names))
    {
    }

    QStringList enumerateServices(quint32, quint32, quint32 &resumeHandle, int maxRecords) override
    {
        const qsizetype start = qMin(qsizetype(resumeHandle), m_names.size());
        QStringList batch = m_names.mid(start, maxRecords);
        resumeHandle = quint32(start + batch.size());
        return batch;
    }

private:
    QStringList m_names;
};

} // namespace

std::unique_ptr<ServiceManager> FakeServices::openManager(quint32)
{
    if (!m_machine.services.managerOpens)
        return nullptr;
    return std::make_unique<FakeServiceManager>(m_machine.services.displayNames);
}
