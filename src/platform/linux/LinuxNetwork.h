#pragma once

#include "platform/NetworkSource.h"

class LinuxNetwork final : public NetworkSource
{
public:
    int startup(quint16 version) override;
    void cleanup() override;
    std::optional<QByteArray> hostName() override;
    std::optional<QList<quint32>> hostAddresses(const QByteArray &name) override;

private:
    int m_users = 0;
};
