#include "LinuxPrinters.h"

std::optional<QStringList> LinuxPrinters::printerNames() { return QStringList(); }
std::optional<QString> LinuxPrinters::defaultPrinterName() { return std::nullopt; }
std::unique_ptr<PrinterHandle> LinuxPrinters::openPrinter(const QString &) { return nullptr; }
int LinuxPrinters::documentPropertiesSize(const QString &) { return 0; }
std::optional<DeviceMode> LinuxPrinters::documentProperties(const QString &) { return std::nullopt; }
std::unique_ptr<InformationContext> LinuxPrinters::createInformationContext(const QString &, const QString &,
                                                                            const QString &, const DeviceMode *)
{
    return nullptr;
}
