#include "LinuxServices.h"

std::unique_ptr<ServiceManager> LinuxServices::openManager(quint32)
{
    return nullptr;
}
