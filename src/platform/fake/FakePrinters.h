// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeMachine.h"
#include "platform/BackgroundQuery.h"
#include "platform/PrinterSource.h"
#include "platform/QueryPatience.h"

#include <memory>

// The fixture's printers. Where the fixture makes them slow, each round's
// questions go to a worker as on a real machine, and are answered as the
// Linux printers answer a slow print server.
class FakePrinters final : public PrinterSource
{
public:
    explicit FakePrinters(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    void beginRound() override;
    std::optional<QStringList> printerNames() override;
    std::optional<QString> defaultPrinterName() override;
    std::unique_ptr<PrinterHandle> openPrinter(const QString &deviceName) override;
    int documentPropertiesSize(const QString &deviceName) override;
    std::optional<DeviceMode> documentProperties(const QString &deviceName) override;
    std::unique_ptr<InformationContext> createInformationContext(const QString &driverName, const QString &deviceName,
                                                                 const QString &port,
                                                                 const DeviceMode *deviceMode) override;

private:
    const FakePrinter *find(const QString &deviceName);
    // What the printers are this round; nullptr while a slow one has not answered.
    const FakePrinterTable *table();

    FakeMachine &m_machine;
    BackgroundQuery<FakePrinterTable> m_query;
    std::shared_ptr<const FakePrinterTable> m_round; // the newest answer of a slow print server
};
