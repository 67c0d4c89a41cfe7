#pragma once

#include "platform/PrinterSource.h"

struct FakeMachine;
struct FakePrinter;

class FakePrinters final : public PrinterSource
{
public:
    explicit FakePrinters(FakeMachine &machine)
        : m_machine(machine)
    {
    }

    std::optional<QStringList> printerNames() override;
    std::optional<QString> defaultPrinterName() override;
    std::unique_ptr<PrinterHandle> openPrinter(const QString &deviceName) override;
    int documentPropertiesSize(const QString &deviceName) override;
    std::optional<DeviceMode> documentProperties(const QString &deviceName) override;
    std::unique_ptr<InformationContext> createInformationContext(const QString &driverName, const QString &deviceName,
                                                                 const QString &port,
                                                                 const DeviceMode *deviceMode) override;

private:
    const FakePrinter *find(const QString &deviceName) const;

    FakeMachine &m_machine;
};
