// SPDX-License-Identifier: GPL-3.0-or-later
#include "TPrinterDevice.h"

#include <utility>

TPrinterDevice::TPrinterDevice(QString device, QString driver, QString port)
    : m_device(std::move(device))
    , m_driver(std::move(driver))
    , m_port(std::move(port))
{
}
