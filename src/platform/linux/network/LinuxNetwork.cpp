// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxNetwork.h"

#include "platform/BackgroundQuery.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace {

constexpr quint32 LoopbackNetwork = 127; // 127.0.0.0/8

// A lookup out longer than this counts as failed; the resolver's own tries
// (two of 5 s each by default) are long over by then.
constexpr std::chrono::seconds LookupTimeLimit{30};
// How long the tick waits for a lookup it starts: /etc/hosts and a local cache
// answer within it, so the address shows at once where the answer is at hand.
constexpr std::chrono::milliseconds LookupPatience{20};

// sockaddr_in is copied out rather than cast to: the list's storage promises
// only sockaddr's alignment.
quint32 ipv4Of(const sockaddr *address)
{
    sockaddr_in inet{};
    std::memcpy(&inet, address, sizeof inet);
    return ntohl(inet.sin_addr.s_addr);
}

} // namespace

LinuxNetwork::LinuxNetwork(QueryPatience patience)
    : LinuxNetwork(&LinuxNetwork::resolve, patience)
{
}

LinuxNetwork::LinuxNetwork(Resolver resolver, QueryPatience patience)
    : m_resolver(std::move(resolver))
    , m_lookupPatience(patience.everyAnswer ? patience.wait : LookupPatience)
    , m_lookups(std::make_unique<BackgroundQuery<Lookup>>(LookupTimeLimit))
{
}

LinuxNetwork::~LinuxNetwork() = default;

int LinuxNetwork::startup(quint16)
{
    ++m_users;
    return 0;
}

void LinuxNetwork::cleanup()
{
    --m_users;
}

std::optional<QByteArray> LinuxNetwork::hostName()
{
    // A name may have HOST_NAME_MAX bytes; the page cuts what it shows to its own rule.
    char buffer[HOST_NAME_MAX + 1] = {};
    if (gethostname(buffer, sizeof buffer) != 0)
        return std::nullopt;
    return QByteArray(buffer, qsizetype(qstrnlen(buffer, sizeof buffer)));
}

std::optional<QList<quint32>> LinuxNetwork::hostAddresses(const QByteArray &name)
{
    // The resolver often answers the own name with 127.0.1.1 from /etc/hosts,
    // which tells the user nothing; the adapters know better, without a query.
    if (isOwnName(name)) {
        const QList<quint32> adapters = adapterAddresses(interfaces());
        if (!adapters.isEmpty())
            return adapters;
    }
    std::optional<QList<quint32>> resolved = lookUp(name);
    if (resolved)
        *resolved = preferringOutsideAddresses(std::move(*resolved));
    return resolved;
}

// One lookup at a time, on a worker: a name server that does not answer holds
// up nothing. Each call starts the next lookup once the last has answered, and
// the newest answer serves meanwhile; until the first for this name there is none.
std::optional<QList<quint32>> LinuxNetwork::lookUp(const QByteArray &name)
{
    const std::shared_ptr<const Lookup> answer = m_lookups->ask(
        [resolver = m_resolver, name] {
            return Lookup{name, resolver(name)};
        },
        m_lookupPatience);
    if (!answer || answer->name != name)
        return std::nullopt;
    return answer->addresses;
}

QList<quint32> LinuxNetwork::preferringOutsideAddresses(QList<quint32> addresses)
{
    const auto isLoopback = [](quint32 address) {
        return address >> 24 == LoopbackNetwork;
    };
    if (!std::all_of(addresses.cbegin(), addresses.cend(), isLoopback))
        addresses.removeIf(isLoopback);
    return addresses;
}

QList<quint32> LinuxNetwork::adapterAddresses(const QList<InterfaceAddress> &interfaces)
{
    QList<quint32> addresses;
    for (const InterfaceAddress &entry : interfaces) {
        const bool working = (entry.flags & IFF_UP) && (entry.flags & IFF_RUNNING);
        if (working && !(entry.flags & IFF_LOOPBACK) && entry.ipv4)
            addresses.append(*entry.ipv4);
    }
    return addresses;
}

QList<LinuxNetwork::InterfaceAddress> LinuxNetwork::interfaces()
{
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};
    const std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, &freeifaddrs);
    QList<InterfaceAddress> result;
    for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
        InterfaceAddress address{entry->ifa_flags, std::nullopt};
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET)
            address.ipv4 = ipv4Of(entry->ifa_addr);
        result.append(address);
    }
    return result;
}

bool LinuxNetwork::isOwnName(const QByteArray &name)
{
    const std::optional<QByteArray> own = hostName();
    return own && !own->isEmpty() && qstricmp(own->constData(), name.constData()) == 0;
}

std::optional<QList<quint32>> LinuxNetwork::resolve(const QByteArray &name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM; // one entry per address, not one per socket type
    addrinfo *list = nullptr;
    if (getaddrinfo(name.constData(), nullptr, &hints, &list) != 0)
        return std::nullopt;
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(list, &freeaddrinfo);
    QList<quint32> addresses;
    for (const addrinfo *entry = list; entry; entry = entry->ai_next)
        if (entry->ai_addr && entry->ai_family == AF_INET)
            addresses.append(ipv4Of(entry->ai_addr));
    return addresses;
}
