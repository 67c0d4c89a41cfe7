// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The network library: every startup() is to be balanced by one cleanup().
class NetworkSource
{
public:
    virtual ~NetworkSource() = default;

    // Returns 0 on success, as the library's start-up does.
    virtual int startup(quint16 version) = 0;
    virtual void cleanup() = 0;

    // The local host name; nullopt when it cannot be had.
    virtual std::optional<QByteArray> hostName() = 0;
    // IPv4 addresses of a host name, in host byte order; nullopt when the name does not resolve.
    virtual std::optional<QList<quint32>> hostAddresses(const QByteArray &name) = 0;
};
