#include "LinuxNetwork.h"

int LinuxNetwork::startup(quint16)
{
    ++m_users;
    return 0;
}

void LinuxNetwork::cleanup()
{
    --m_users;
}

std::optional<QByteArray> LinuxNetwork::hostName() { return std::nullopt; }
std::optional<QList<quint32>> LinuxNetwork::hostAddresses(const QByteArray &) { return std::nullopt; }
