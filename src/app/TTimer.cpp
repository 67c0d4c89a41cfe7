// SPDX-License-Identifier: GPL-3.0-or-later
#include "TTimer.h"

TTimer::TTimer(const QString &name, int interval, QObject *parent)
    : QObject(parent)
    , m_interval(interval)
{
    setObjectName(name);
    m_timer.setInterval(qMax(interval, MinimumPeriod));
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_enabled)
            Q_EMIT timeout();
    });
    m_timer.start();
}

void TTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}
