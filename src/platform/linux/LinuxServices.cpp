#include "LinuxServices.h"

LinuxServices::LinuxServices(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

std::unique_ptr<ServiceManager> LinuxServices::openManager(quint32)
{
    return nullptr;
}
