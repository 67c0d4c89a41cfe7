#pragma once

#include "platform/PrinterSource.h"

#include <QString>

#include <memory>
#include <optional>
#include <utility>

typedef struct _http_s http_t;

// The printers of the CUPS scheduler, through libcups, on one connection kept
// open between queries. Where no scheduler answers, there are no printers and
// no default printer, at once.
class LinuxPrinters final : public PrinterSource
{
public:
    LinuxPrinters();
    ~LinuxPrinters() override;

    std::optional<QStringList> printerNames() override;
    std::optional<QString> defaultPrinterName() override;
    std::unique_ptr<PrinterHandle> openPrinter(const QString &deviceName) override;
    int documentPropertiesSize(const QString &deviceName) override;
    std::optional<DeviceMode> documentProperties(const QString &deviceName) override;
    std::unique_ptr<InformationContext> createInformationContext(const QString &driverName,
                                                                 const QString &deviceName,
                                                                 const QString &port,
                                                                 const DeviceMode *deviceMode) override;

private:
    struct CloseHttp
    {
        void operator()(http_t *http) const;
    };

    // nullptr when no scheduler answers.
    http_t *connection();
    // Called after each query: a scheduler that has gone is connected to afresh next time.
    void forgetConnectionIfGone();
    std::optional<DeviceMode> queryDeviceMode(const QString &deviceName);
    // What the previous query learnt of that printer's device mode, if it was that printer.
    std::optional<DeviceMode> takeLearntDeviceMode(const QString &deviceName);

    std::unique_ptr<http_t, CloseHttp> m_http;
    // A device mode the previous query learnt along the way (the default printer's,
    // or the one a size query fetched), for the query right after it, which so
    // costs no second request. Any other query forgets it.
    std::optional<std::pair<QString, DeviceMode>> m_learntDeviceMode;
};
