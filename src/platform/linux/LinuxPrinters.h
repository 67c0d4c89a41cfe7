#pragma once

#include "CupsPrinterFacts.h"
#include "platform/PrinterSource.h"

#include <QHash>
#include <QString>

#include <cups/http.h>

#include <memory>
#include <optional>

// The printers of the CUPS scheduler, through libcups, on one connection kept
// open between queries. Where no scheduler answers, there are no printers and
// no default printer, at once. Within a round each question goes to the
// scheduler once, so a tick costs two requests where the printer it measures
// is the default one.
class LinuxPrinters final : public PrinterSource
{
public:
    LinuxPrinters();
    ~LinuxPrinters() override;

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
    struct CloseHttp
    {
        void operator()(http_t *http) const;
    };

    // nullptr when no scheduler answers.
    http_t *connection();
    // Called after each request: a scheduler that has gone is connected to afresh next time.
    void forgetConnectionIfGone();
    std::optional<QString> queryDefaultName();
    // nullopt for a printer the scheduler does not know, or without a scheduler.
    std::optional<CupsPrinterFacts> facts(const QString &deviceName);
    std::optional<CupsPrinterFacts> queryFacts(const QString &deviceName);

    std::unique_ptr<http_t, CloseHttp> m_http;
    // What this round has learnt.
    std::optional<std::optional<QString>> m_defaultName;
    QHash<QString, std::optional<CupsPrinterFacts>> m_facts; // by case-folded name, as CUPS matches names
};
