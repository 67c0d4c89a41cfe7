// SPDX-License-Identifier: GPL-3.0-or-later
#include "OtherPage.h"

#include "controls/TGroupBox.h"
#include "controls/text/JoinedText.h"
#include "controls/text/TLabel.h"
#include "platform/ClockSource.h"
#include "platform/NetworkSource.h"

#include <QHash>
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

OtherPage::OtherPage(NetworkSource &network, ClockSource &clock, SystemSource &system, QWidget *parent)
    : QWidget(parent)
    , m_network(network)
    , m_clock(clock)
    , m_system(system)
{
    auto *networkBox = new TGroupBox(u"GroupBox7"_s, QRect(8, 32, 337, 65), u"Network"_s, this);
    TLabel::captionLabel(u"Label18"_s, QRect(16, 24, 60, 14), u"Computer IP:"_s, networkBox);
    m_address = new TLabel(u"Label17"_s, QRect(104, 24, 58, 14), u"<Unknown>"_s, networkBox);
    TLabel::captionLabel(u"Label20"_s, QRect(16, 40, 79, 14), u"Computer Name:"_s, networkBox);
    m_hostName = new TLabel(u"Label19"_s, QRect(104, 40, 58, 14), u"<Unknown>"_s, networkBox);
    auto *uptimeBox = new TGroupBox(u"GroupBox8"_s, QRect(8, 104, 337, 73), u"Windows"_s, this);
    TLabel::captionLabel(u"Label32"_s, QRect(16, 24, 87, 14), u"Windows Up time:"_s, uptimeBox);
    m_uptime = new TLabel(u"Label31"_s, QRect(16, 40, 58, 14), u"<Unknown>"_s, uptimeBox);
    addSystemSummary();
}

// Beyond the form, in the free space under the uptime and in the style of the
// network group: captions short enough for a translation to fit beside the values.
void OtherPage::addSystemSummary()
{
    auto *box = new TGroupBox(u"GroupBox9"_s, QRect(8, 184, 337, 113), u"System"_s, this);
    const auto row = [box](int top, const QString &caption, const QString &captionName, const QString &valueName) {
        TLabel::captionLabel(captionName, QRect(16, top, 60, 14), caption, box);
        return new TLabel(valueName, QRect(104, top, 58, 14), u"<Unknown>"_s, box);
    };
    m_operatingSystem = row(24, u"OS:"_s, u"Label39"_s, u"Label40"_s);
    m_kernel = row(40, u"Kernel:"_s, u"Label41"_s, u"Label42"_s);
    m_architecture = row(56, u"Architecture:"_s, u"Label43"_s, u"Label44"_s);
    m_processors = row(72, u"Processor:"_s, u"Label45"_s, u"Label46"_s);
    m_session = row(88, u"Desktop:"_s, u"Label47"_s, u"Label48"_s);
}

SystemSummary OtherPage::readSystemSummary(SystemSource &system)
{
    return {system.operatingSystem(), system.kernel(), system.processorCount(), system.desktopSession()};
}

void OtherPage::writeSystemSummary()
{
    const SystemSummary summary = readSystemSummary(m_system);
    m_operatingSystem->setCaption(JoinedText().outside(operatingSystemText(summary.operatingSystem)));
    m_kernel->setCaption(JoinedText().outside(kernelText(summary.kernel)));
    m_architecture->setCaption(JoinedText().outside(architectureText(summary.kernel)));
    m_processors->setCaption(processorCountText(summary.processors));
    m_session->setCaption(JoinedText().outside(sessionText(summary.session)));
    m_shownSummary = summary;
}

QString OtherPage::unknownText(const Wording &words)
{
    return words.translate("OtherPage", "未知");
}

QString OtherPage::operatingSystemText(const std::optional<OperatingSystem> &system, const Wording &words)
{
    return system && !system->name.isEmpty() ? system->name : unknownText(words);
}

QString OtherPage::kernelText(const std::optional<KernelIdentity> &kernel, const Wording &words)
{
    if (!kernel)
        return unknownText(words);
    const QString text = (kernel->name + u' ' + kernel->release).trimmed();
    return text.isEmpty() ? unknownText(words) : text;
}

QString OtherPage::architectureText(const std::optional<KernelIdentity> &kernel, const Wording &words)
{
    return kernel && !kernel->machine.isEmpty() ? kernel->machine : unknownText(words);
}

QString OtherPage::processorCountText(const ProcessorCount &count, const Wording &words)
{
    if (!count.threads)
        return unknownText(words);
    const QString threads = words.translate("OtherPage", "%n 线程", nullptr, *count.threads);
    return count.cores ? words.translate("OtherPage", "%n 核 / %1", nullptr, *count.cores).arg(threads) : threads;
}

QString OtherPage::sessionText(const DesktopSession &session, const Wording &words)
{
    static const QHash<QString, QString> TypeNames{{u"wayland"_s, u"Wayland"_s}, {u"x11"_s, u"X11"_s}};
    const QString type = TypeNames.value(session.type.toLower(), session.type);
    if (session.desktop.isEmpty())
        return type.isEmpty() ? words.translate("OtherPage", "无", "no desktop session") : type;
    return type.isEmpty() ? session.desktop : u"%1 (%2)"_s.arg(session.desktop, type);
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

QString OtherPage::uptimeText(quint64 milliseconds, const Wording &words)
{
    return words.translate("OtherPage", "运行时间: %1").arg(durationText(milliseconds, words));
}

QString OtherPage::durationText(quint64 milliseconds, const Wording &words)
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
    return words.translate("OtherPage", "%1 天 %2 小时 %3 分 %4 秒")
        .arg(QString::number(days), QString::number(hours), QString::number(minutes), QString::number(seconds));
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
