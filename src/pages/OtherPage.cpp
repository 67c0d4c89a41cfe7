// SPDX-License-Identifier: GPL-3.0-or-later
#include "OtherPage.h"

#include "controls/JoinedText.h"
#include "controls/TGroupBox.h"
#include "controls/TLabel.h"
#include "platform/ClockSource.h"
#include "platform/NetworkSource.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

constexpr quint16 NetworkLibraryVersion = 0x0101; // 1.1
constexpr qsizetype HostNameBufferSize = 64;

constexpr quint64 MillisecondsPerDay = 86'400'000;
constexpr quint64 MillisecondsPerHour = 3'600'000;
constexpr quint64 MillisecondsPerMinute = 60'000;
constexpr quint64 MillisecondsPerSecond = 1'000;

// The name as a 64-byte buffer holds it: up to its first zero byte, at most 64 bytes.
QByteArray bufferedName(const QByteArray &name)
{
    const QByteArray buffer = name.left(HostNameBufferSize);
    const qsizetype end = buffer.indexOf('\0');
    return end < 0 ? buffer : buffer.left(end);
}

// An IPv4 address as inet_ntoa writes it. Formatted here rather than through a
// network library that the program would otherwise load at start only for this.
QString dottedDecimal(quint32 address)
{
    return u"%1.%2.%3.%4"_s.arg(address >> 24)
        .arg((address >> 16) & 0xFFu)
        .arg((address >> 8) & 0xFFu)
        .arg(address & 0xFFu);
}

} // namespace

OtherPage::OtherPage(NetworkSource &network, ClockSource &clock, QWidget *parent)
    : QWidget(parent)
    , m_network(network)
    , m_clock(clock)
{
    auto *networkBox = new TGroupBox(u"GroupBox7"_s, QRect(8, 32, 337, 65), u"Network"_s, this);
    TLabel::captionLabel(u"Label18"_s, QRect(16, 24, 60, 14), u"Computer IP:"_s, networkBox);
    m_address = new TLabel(u"Label17"_s, QRect(104, 24, 58, 14), u"<Unknown>"_s, networkBox);
    TLabel::captionLabel(u"Label20"_s, QRect(16, 40, 79, 14), u"Computer Name:"_s, networkBox);
    m_hostName = new TLabel(u"Label19"_s, QRect(104, 40, 58, 14), u"<Unknown>"_s, networkBox);
    auto *uptimeBox = new TGroupBox(u"GroupBox8"_s, QRect(8, 104, 337, 73), u"Windows"_s, this);
    TLabel::captionLabel(u"Label32"_s, QRect(16, 24, 87, 14), u"Windows Up time:"_s, uptimeBox);
    m_uptime = new TLabel(u"Label31"_s, QRect(16, 40, 58, 14), u"<Unknown>"_s, uptimeBox);
}

QString OtherPage::GetLocalHostInfo(int selector)
{
    return localHostInfo(m_network, selector);
}

QString OtherPage::localHostInfo(NetworkSource &network, int selector)
{
    network.startup(NetworkLibraryVersion);
    const auto cleanup = qScopeGuard([&network] { network.cleanup(); });
    // Without a name there is nothing to show or to resolve.
    const std::optional<QByteArray> name = network.hostName();
    if (!name)
        return QString();
    const QByteArray buffered = bufferedName(*name);
    if (selector == NameSelector)
        return QString::fromUtf8(buffered);
    return lastAddressOf(network, buffered);
}

QString OtherPage::lastAddressOf(NetworkSource &network, const QByteArray &name)
{
    const std::optional<QList<quint32>> addresses = network.hostAddresses(name);
    if (!addresses || addresses->isEmpty())
        return QString();
    return dottedDecimal(addresses->constLast());
}

QString OtherPage::GetUptimeText()
{
    return uptimeText(m_clock.tickCount());
}

QString OtherPage::uptimeText(quint64 milliseconds)
{
    // 64 bits: the count goes on past 49.7 days instead of starting again at 0.
    quint64 rest = milliseconds;
    const quint64 days = rest / MillisecondsPerDay;
    rest %= MillisecondsPerDay;
    const quint64 hours = rest / MillisecondsPerHour;
    rest %= MillisecondsPerHour;
    const quint64 minutes = rest / MillisecondsPerMinute;
    rest %= MillisecondsPerMinute;
    const quint64 seconds = rest / MillisecondsPerSecond;
    return u"运行时间: %1 天 %2 小时 %3 分 %4 秒"_s.arg(QString::number(days), QString::number(hours),
                                                        QString::number(minutes), QString::number(seconds));
}

void OtherPage::writeAddress()
{
    m_address->setCaption(JoinedText().outside(GetLocalHostInfo(AddressSelector)));
}

void OtherPage::writeHostName()
{
    m_hostName->setCaption(JoinedText().outside(GetLocalHostInfo(NameSelector)));
}

void OtherPage::writeUptime()
{
    const quint64 milliseconds = m_clock.tickCount();
    m_uptime->setCaption(uptimeText(milliseconds));
    m_shownTickCount = milliseconds;
}
