// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

// A window timer: running from its creation while enabled, never faster than
// the system's minimum period, and holding at most one pending tick.
class TTimer : public QObject
{
    Q_OBJECT

public:
    static constexpr int MinimumPeriod = 10;

    TTimer(const QString &name, int interval, QObject *parent);

    // The interval as designed; the timer runs at no less than MinimumPeriod.
    int interval() const { return m_interval; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

Q_SIGNALS:
    void timeout();

private:
    QTimer m_timer;
    int m_interval;
    bool m_enabled = true;
};
