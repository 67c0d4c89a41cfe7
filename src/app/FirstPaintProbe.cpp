// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaintProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

FirstPaintProbe::FirstPaintProbe(QObject *watched)
    : QObject(watched)
{
    watched->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    return false;
}
