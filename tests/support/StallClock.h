// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

// How long the event loop of this thread stopped for reasons of its own: the
// longest gap between two ticks of a 10 ms timer, less the time the thread
// waited for a processor meanwhile (the kernel's run delay, the second figure
// of /proc/thread-self/schedstat). Work on a thread, or waiting in the kernel,
// counts; other work of a busy machine does not.
class StallClock
{
public:
    StallClock()
        : m_schedstat(QStringLiteral("/proc/thread-self/schedstat"))
    {
        m_schedstat.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        m_ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] { tick(); });
        m_clock.start();
        m_lastDelay = runDelay();
        m_ticker.start(10);
    }

    // Milliseconds, the machine's waits left out and with them.
    qint64 longestMs() const { return m_longest / 1000000; }
    qint64 longestWallMs() const { return m_longestWall / 1000000; }

private:
    qint64 runDelay()
    {
        if (!m_schedstat.isOpen() || !m_schedstat.seek(0))
            return 0;
        const QList<QByteArray> figures = m_schedstat.readAll().split(' ');
        return figures.value(1).toLongLong();
    }

    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 delay = runDelay();
        m_longestWall = qMax(m_longestWall, now - m_last);
        m_longest = qMax(m_longest, now - m_last - (delay - m_lastDelay));
        m_last = now;
        m_lastDelay = delay;
    }

    QFile m_schedstat;
    QTimer m_ticker;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_lastDelay = 0;
    qint64 m_longest = 0;
    qint64 m_longestWall = 0;
};
