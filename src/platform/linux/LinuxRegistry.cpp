#include "LinuxRegistry.h"

std::unique_ptr<RegistryKey> LinuxRegistry::openKey(const QString &)
{
    return nullptr;
}
