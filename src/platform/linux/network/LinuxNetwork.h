// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/NetworkSource.h"
#include "platform/QueryPatience.h"

#include <functional>
#include <memory>

template<typename T>
class BackgroundQuery;

// The host's name and addresses from the running system. The network library
// needs no start-up on Linux; start-ups and clean-ups are only counted.
class LinuxNetwork final : public NetworkSource
{
public:
    // A name's IPv4 addresses, nullopt when it does not resolve; may take as
    // long as the name servers do.
    using Resolver = std::function<std::optional<QList<quint32>>(const QByteArray &name)>;

    // patience says how long a lookup of the name is waited for: the window's
    // moment, or its whole time limit for the command line and the snapshot tool.
    explicit LinuxNetwork(QueryPatience patience = QueryPatience::window());
    // Names go to resolver, asked on a worker thread.
    explicit LinuxNetwork(Resolver resolver, QueryPatience patience = QueryPatience::window());
    ~LinuxNetwork() override;
    LinuxNetwork(const LinuxNetwork &) = delete;
    LinuxNetwork &operator=(const LinuxNetwork &) = delete;

    // One entry of the interface list getifaddrs gives.
    struct InterfaceAddress
    {
        unsigned int flags = 0; // IFF_* of the interface
        std::optional<quint32> ipv4; // host byte order; none for other address families
    };

    int startup(quint16 version) override;
    void cleanup() override;
    std::optional<QByteArray> hostName() override;
    std::optional<QList<quint32>> hostAddresses(const QByteArray &name) override;

    // The IPv4 addresses of interfaces that are up, carry a link and are not
    // loopback, in list order: what Windows answers for the machine's own name.
    static QList<quint32> adapterAddresses(const QList<InterfaceAddress> &interfaces);
    static QList<InterfaceAddress> interfaces();
    // A resolver's answer without its loopback addresses (127.0.0.0/8, such as
    // the 127.0.1.1 of /etc/hosts), unless they are all it has.
    static QList<quint32> preferringOutsideAddresses(QList<quint32> addresses);

private:
    struct Lookup
    {
        QByteArray name;
        std::optional<QList<quint32>> addresses;
    };

    bool isOwnName(const QByteArray &name);
    std::optional<QList<quint32>> lookUp(const QByteArray &name);
    static std::optional<QList<quint32>> resolve(const QByteArray &name);

    int m_users = 0;
    Resolver m_resolver;
    std::chrono::milliseconds m_lookupPatience;
    std::unique_ptr<BackgroundQuery<Lookup>> m_lookups;
};
