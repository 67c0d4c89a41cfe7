// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One printer as the printer list names it: its device, driver and port.
class TPrinterDevice
{
public:
    TPrinterDevice(QString device, QString driver, QString port);

    const QString &device() const { return m_device; }
    const QString &driver() const { return m_driver; }
    const QString &port() const { return m_port; }

private:
    QString m_device;
    QString m_driver;
    QString m_port;
};
