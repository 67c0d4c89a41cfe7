#pragma once

#include <QWidget>

class ClockSource;
class NetworkSource;
class TLabel;

// Page 5: the computer's IP address and name, and the time since the system started.
class OtherPage : public QWidget
{
    Q_OBJECT

public:
    OtherPage(NetworkSource &network, ClockSource &clock, QWidget *parent);

    // The network and uptime steps of the per-second tick.
    void writeAddress();
    void writeHostName();
    void writeUptime();

private:
    NetworkSource &m_network;
    ClockSource &m_clock;
    TLabel *m_address;
    TLabel *m_hostName;
    TLabel *m_uptime;
};
