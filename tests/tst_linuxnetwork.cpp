// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/network/LinuxNetwork.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>

#include <atomic>
#include <memory>

#include <net/if.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using Interfaces = QList<LinuxNetwork::InterfaceAddress>;
using Addresses = QList<quint32>;

namespace {

constexpr unsigned int Working = IFF_UP | IFF_RUNNING | IFF_BROADCAST | IFF_MULTICAST;
constexpr unsigned int Loopback = IFF_UP | IFF_RUNNING | IFF_LOOPBACK;
constexpr unsigned int NoCarrier = IFF_UP | IFF_BROADCAST | IFF_MULTICAST; // up, cable out
constexpr unsigned int Down = IFF_BROADCAST | IFF_MULTICAST;

constexpr quint32 LoopbackAddress = 0x7F000001; // 127.0.0.1
constexpr quint32 Lan = 0xC0A80114; // 192.168.1.20
constexpr quint32 Wlan = 0x0A000007; // 10.0.0.7
constexpr quint32 Vpn = 0x0A080002; // 10.8.0.2
constexpr quint32 Bridge = 0xAC110001; // 172.17.0.1
constexpr quint32 HostsFileAddress = 0x7F000101; // 127.0.1.1

// As getifaddrs lists them: first each interface's link entry, then its addresses.
LinuxNetwork::InterfaceAddress link(unsigned int flags)
{
    return {flags, std::nullopt};
}
LinuxNetwork::InterfaceAddress ipv4(unsigned int flags, quint32 address)
{
    return {flags, address};
}
LinuxNetwork::InterfaceAddress ipv6(unsigned int flags)
{
    return {flags, std::nullopt};
}

// Whether LinuxNetwork reads the name in a host-name namespace of its own
// given that name; nullopt when no such namespace can be made here.
std::optional<bool> readsHostNameInNamespace(const QByteArray &name)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const bool own = ::unshare(CLONE_NEWUTS) == 0 || ::unshare(CLONE_NEWUSER | CLONE_NEWUTS) == 0;
        if (!own || ::sethostname(name.constData(), size_t(name.size())) != 0)
            ::_exit(2);
        ::_exit(LinuxNetwork().hostName() == name ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

} // namespace

class tst_LinuxNetwork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void adapterAddresses_data();
    void adapterAddresses();
    void ownNameIsAnsweredByTheAdapters();
    void otherNamesGoToTheResolver();
    void longestHostName();
    void loopbackOnlyWhenThereIsNothingElse();
    void namesResolveAsideOneAtATime();
};

void tst_LinuxNetwork::adapterAddresses_data()
{
    QTest::addColumn<Interfaces>("interfaces");
    QTest::addColumn<Addresses>("addresses");
    QTest::newRow("no interfaces") << Interfaces{} << Addresses{};
    QTest::newRow("loopback only") << Interfaces{link(Loopback), ipv4(Loopback, LoopbackAddress), ipv6(Loopback)}
                                   << Addresses{};
    QTest::newRow("one LAN address") << Interfaces{link(Loopback),     link(Working),  ipv4(Loopback, LoopbackAddress),
                                                   ipv4(Working, Lan), ipv6(Loopback), ipv6(Working)}
                                     << Addresses{Lan};
    QTest::newRow("several adapters in list order") << Interfaces{link(Loopback),
                                                                  link(Working),
                                                                  link(Working),
                                                                  link(Working | IFF_POINTOPOINT),
                                                                  ipv4(Loopback, LoopbackAddress),
                                                                  ipv4(Working, Wlan),
                                                                  ipv4(Working, Lan),
                                                                  ipv4(Working | IFF_POINTOPOINT, Vpn),
                                                                  ipv6(Working)}
                                                    << Addresses{Wlan, Lan, Vpn};
    QTest::newRow("two addresses on one adapter")
        << Interfaces{ipv4(Working, Lan), ipv4(Working, Wlan)} << Addresses{Lan, Wlan};
    QTest::newRow("down and unplugged interfaces are skipped")
        << Interfaces{ipv4(Loopback, LoopbackAddress), ipv4(Down, Lan), ipv4(NoCarrier, Bridge), ipv4(Working, Wlan)}
        << Addresses{Wlan};
    QTest::newRow("every adapter down") << Interfaces{ipv4(Loopback, LoopbackAddress), ipv4(Down, Lan),
                                                      ipv4(NoCarrier, Bridge)}
                                        << Addresses{};
}

void tst_LinuxNetwork::adapterAddresses()
{
    QFETCH(Interfaces, interfaces);
    QFETCH(Addresses, addresses);
    QCOMPARE(LinuxNetwork::adapterAddresses(interfaces), addresses);
}

void tst_LinuxNetwork::ownNameIsAnsweredByTheAdapters()
{
    LinuxNetwork network;
    const std::optional<QByteArray> name = network.hostName();
    QVERIFY(name);
    QVERIFY(!name->isEmpty());
    QVERIFY(name->size() <= 64);
    QVERIFY(!name->contains('\0'));
    const Addresses adapters = LinuxNetwork::adapterAddresses(LinuxNetwork::interfaces());
    if (adapters.isEmpty())
        QSKIP("no interface here is up with an IPv4 address");
    QCOMPARE(network.hostAddresses(*name), adapters);
    QCOMPARE(network.hostAddresses(name->toUpper()), adapters);
}

void tst_LinuxNetwork::otherNamesGoToTheResolver()
{
    // The resolver answers on a worker; each call gives the newest answer it has.
    LinuxNetwork network;
    std::optional<Addresses> literal;
    QTRY_VERIFY((literal = network.hostAddresses("192.0.2.44")));
    QCOMPARE(*literal, Addresses{0xC000022C});
    if (network.hostName().value_or(QByteArray()) == "localhost")
        QSKIP("this machine's own name is localhost");
    std::optional<Addresses> localhost;
    QTRY_VERIFY((localhost = network.hostAddresses("localhost")));
    QVERIFY(localhost->contains(LoopbackAddress));
}

void tst_LinuxNetwork::longestHostName()
{
    const std::optional<bool> read = readsHostNameInNamespace(QByteArray(64, 'h')); // HOST_NAME_MAX
    if (!read)
        QSKIP("no host-name namespace can be made here");
    QVERIFY(*read);
}

void tst_LinuxNetwork::loopbackOnlyWhenThereIsNothingElse()
{
    const auto shown = &LinuxNetwork::preferringOutsideAddresses;
    QCOMPARE(shown({Lan, HostsFileAddress}), Addresses{Lan});
    QCOMPARE(shown({Wlan, LoopbackAddress, Lan}), (Addresses{Wlan, Lan}));
    QCOMPARE(shown({HostsFileAddress}), Addresses{HostsFileAddress});
}

void tst_LinuxNetwork::namesResolveAsideOneAtATime()
{
    // A resolver that answers only when let go, as one whose name server is gone never does.
    const auto gate = std::make_shared<QSemaphore>();
    const auto lookups = std::make_shared<std::atomic<int>>(0);
    LinuxNetwork network([gate, lookups](const QByteArray &) -> std::optional<Addresses> {
        ++*lookups;
        gate->tryAcquire(1, 10'000);
        return Addresses{Lan, HostsFileAddress};
    });
    QElapsedTimer ticks;
    ticks.start();
    QCOMPARE(network.hostAddresses("elsewhere"), std::nullopt);
    QCOMPARE(network.hostAddresses("elsewhere"), std::nullopt);
    QCOMPARE_LT(ticks.elapsed(), 1000);
    QTRY_COMPARE(lookups->load(), 1);
    gate->release();
    const std::optional<Addresses> answer = Addresses{Lan};
    QTRY_COMPARE(network.hostAddresses("elsewhere"), answer);
    // The next lookup is out now; the last answer serves until it comes.
    QCOMPARE(network.hostAddresses("elsewhere"), answer);
    QCOMPARE(network.hostAddresses("another"), std::nullopt);
    gate->release(lookups->load() + 1);
}

QTEST_MAIN(tst_LinuxNetwork)
#include "tst_linuxnetwork.moc"
