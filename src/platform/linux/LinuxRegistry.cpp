#include "LinuxRegistry.h"

LinuxRegistry::LinuxRegistry(QString rootDirectory)
    : m_root(std::move(rootDirectory))
{
}

std::unique_ptr<RegistryKey> LinuxRegistry::openKey(const QString &)
{
    return nullptr;
}
