#pragma once

#include "platform/PrinterSource.h"

class LinuxPrinters final : public PrinterSource
{
public:
    std::optional<QStringList> printerNames() override;
    std::optional<QString> defaultPrinterName() override;
    std::unique_ptr<PrinterHandle> openPrinter(const QString &deviceName) override;
    int documentPropertiesSize(const QString &deviceName) override;
    std::optional<DeviceMode> documentProperties(const QString &deviceName) override;
    std::unique_ptr<InformationContext> createInformationContext(const QString &driverName,
                                                                 const QString &deviceName,
                                                                 const QString &port,
                                                                 const DeviceMode *deviceMode) override;
};
