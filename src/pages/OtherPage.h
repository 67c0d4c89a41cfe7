// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Wording.h"
#include "platform/SystemSource.h"

#include <QWidget>

#include <optional>

class ClockSource;
class NetworkSource;
class TLabel;

// What the system summary below the uptime shows: read once, as none of it changes.
struct SystemSummary
{
    std::optional<OperatingSystem> operatingSystem;
    std::optional<KernelIdentity> kernel;
    ProcessorCount processors;
    DesktopSession session;
};

// Page 5: the computer's IP address and name, the time since the system started,
// and below them what system it is and what it runs on.
class OtherPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int AddressSelector = 1;
    static constexpr int NameSelector = 2;
    // What a summary label shows for a fact the system does not give.
    static QString unknownText(const Wording &words = Wording::shown());

    OtherPage(NetworkSource &network, ClockSource &clock, SystemSource &system, QWidget *parent);

    // The computer's name for NameSelector, else the last of its IPv4 addresses
    // in dotted-decimal form; the empty text when it has none or no name at all.
    QString GetLocalHostInfo(int selector);
    // "运行时间: D 天 H 小时 M 分 S 秒", the milliseconds dropped.
    QString GetUptimeText();
    // The same texts, asked of any source.
    static QString localHostInfo(NetworkSource &network, int selector);
    static QString uptimeText(quint64 milliseconds, const Wording &words = Wording::shown());
    // The time alone: "D 天 H 小时 M 分 S 秒".
    static QString durationText(quint64 milliseconds, const Wording &words = Wording::shown());

    // The milliseconds since start-up that the uptime label shows; nullopt before the first tick.
    std::optional<quint64> shownTickCount() const { return m_shownTickCount; }
    // The summary the labels show; nullopt before it is written.
    const std::optional<SystemSummary> &shownSummary() const { return m_shownSummary; }

    // Reads the system summary and writes its labels; once, at start.
    void writeSystemSummary();
    static SystemSummary readSystemSummary(SystemSource &system);
    // The summary's label texts: "Linux 6.1.0-18-amd64", "4 核 / 8 线程", "GNOME (Wayland)".
    static QString operatingSystemText(const std::optional<OperatingSystem> &system,
                                       const Wording &words = Wording::shown());
    static QString kernelText(const std::optional<KernelIdentity> &kernel, const Wording &words = Wording::shown());
    static QString architectureText(const std::optional<KernelIdentity> &kernel,
                                    const Wording &words = Wording::shown());
    static QString processorCountText(const ProcessorCount &count, const Wording &words = Wording::shown());
    static QString sessionText(const DesktopSession &session, const Wording &words = Wording::shown());

    // The network and uptime steps of the per-second tick.
    void writeAddress();
    void writeHostName();
    void writeUptime();

private:
    static QString lastAddressOf(NetworkSource &network, const QByteArray &name);

    void addSystemSummary();

    NetworkSource &m_network;
    ClockSource &m_clock;
    SystemSource &m_system;
    TLabel *m_address;
    TLabel *m_hostName;
    TLabel *m_uptime;
    TLabel *m_operatingSystem = nullptr;
    TLabel *m_kernel = nullptr;
    TLabel *m_architecture = nullptr;
    TLabel *m_processors = nullptr;
    TLabel *m_session = nullptr;
    std::optional<quint64> m_shownTickCount;
    std::optional<SystemSummary> m_shownSummary;
};
