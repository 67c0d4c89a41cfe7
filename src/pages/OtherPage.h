// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <optional>

class ClockSource;
class NetworkSource;
class TLabel;

// Page 5: the computer's IP address and name, and the time since the system started.
class OtherPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int AddressSelector = 1;
    static constexpr int NameSelector = 2;

    OtherPage(NetworkSource &network, ClockSource &clock, QWidget *parent);

    // The computer's name for NameSelector, else the last of its IPv4 addresses
    // in dotted-decimal form; the empty text when it has none or no name at all.
    QString GetLocalHostInfo(int selector);
    // "运行时间: D 天 H 小时 M 分 S 秒", the milliseconds dropped.
    QString GetUptimeText();
    // The same texts, asked of any source.
    static QString localHostInfo(NetworkSource &network, int selector);
    static QString uptimeText(quint64 milliseconds);

    // The milliseconds since start-up that the uptime label shows; nullopt before the first tick.
    std::optional<quint64> shownTickCount() const { return m_shownTickCount; }

    // The network and uptime steps of the per-second tick.
    void writeAddress();
    void writeHostName();
    void writeUptime();

private:
    static QString lastAddressOf(NetworkSource &network, const QByteArray &name);

    NetworkSource &m_network;
    ClockSource &m_clock;
    TLabel *m_address;
    TLabel *m_hostName;
    TLabel *m_uptime;
    std::optional<quint64> m_shownTickCount;
};
