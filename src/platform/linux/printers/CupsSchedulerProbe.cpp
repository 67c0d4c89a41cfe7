// SPDX-License-Identifier: GPL-3.0-or-later
#include "CupsSchedulerProbe.h"

#include <QDir>
#include <QFileInfo>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// Debian's libcups2 is built with these.
const QString DefaultServerRoot = u"/etc/cups"_s;
const QString DefaultLocalSocket = u"/run/cups/cups.sock"_s;
constexpr quint16 DefaultIppPort = 631;
// Long enough for a scheduler on this machine to accept.
constexpr int ConnectTimeoutMs = 100;

// True when something listens at the address, or may (a connection still pending).
bool accepts(const sockaddr *address, socklen_t length)
{
    const int fd = ::socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool listening = ::connect(fd, address, length) == 0;
    if (!listening && errno == EINPROGRESS) {
        pollfd pending{fd, POLLOUT, 0};
        int error = 0;
        socklen_t errorLength = sizeof error;
        listening = ::poll(&pending, 1, ConnectTimeoutMs) == 0
            || (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &errorLength) == 0 && error == 0);
    }
    ::close(fd);
    return listening;
}

} // namespace

CupsSchedulerProbe::Places CupsSchedulerProbe::systemPlaces()
{
    const QString serverRoot = qEnvironmentVariable("CUPS_SERVERROOT");
    bool portGiven = false;
    const uint port = qEnvironmentVariableIntValue("IPP_PORT", &portGiven);
    return {serverRoot.isEmpty() ? DefaultServerRoot : serverRoot, QDir::homePath() + u"/.cups"_s, DefaultLocalSocket,
            portGiven && port > 0 && port <= 0xFFFF ? quint16(port) : DefaultIppPort};
}

CupsSchedulerProbe::CupsSchedulerProbe(Places places)
    : m_places(std::move(places))
{
}

bool CupsSchedulerProbe::mayAnswer() const
{
    return isConfigured() || QFileInfo::exists(m_places.localSocket) || acceptsLocalConnections();
}

// A server named anywhere is libcups's to reach, wherever it is.
bool CupsSchedulerProbe::isConfigured() const
{
    return !qEnvironmentVariableIsEmpty("CUPS_SERVER") || QFileInfo::exists(m_places.serverRoot + u"/client.conf"_s)
        || QFileInfo::exists(m_places.userDirectory + u"/client.conf"_s);
}

// "localhost", as libcups falls back to: either of its addresses.
bool CupsSchedulerProbe::acceptsLocalConnections() const
{
    sockaddr_in ipv4{};
    ipv4.sin_family = AF_INET;
    ipv4.sin_port = htons(m_places.ippPort);
    ipv4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 ipv6{};
    ipv6.sin6_family = AF_INET6;
    ipv6.sin6_port = htons(m_places.ippPort);
    ipv6.sin6_addr = in6addr_loopback;
    return accepts(reinterpret_cast<const sockaddr *>(&ipv4), sizeof ipv4)
        || accepts(reinterpret_cast<const sockaddr *>(&ipv6), sizeof ipv6);
}
