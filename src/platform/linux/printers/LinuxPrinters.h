// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CupsSession.h"
#include "platform/BackgroundQuery.h"
#include "platform/PrinterSource.h"
#include "platform/QueryPatience.h"

#include <QHash>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

// The printers of the CUPS scheduler, through libcups. Each round's questions
// go to the scheduler at once, on a worker thread, when the round begins; the
// round is answered from the newest answer, so the window never waits on a
// scheduler that is slow or gone silent: it waits, briefly, only for the
// first. A round still out after two seconds answers as no printers and no
// default printer until it comes back.
class LinuxPrinters final : public PrinterSource
{
public:
    explicit LinuxPrinters(QueryPatience patience = QueryPatience::window());
    ~LinuxPrinters() override;
    LinuxPrinters(const LinuxPrinters &) = delete;
    LinuxPrinters &operator=(const LinuxPrinters &) = delete;

    void beginRound() override;
    // Fails while the scheduler has not answered, so that the list is not taken for empty.
    std::optional<QStringList> printerNames() override;
    std::optional<QString> defaultPrinterName() override;
    std::unique_ptr<PrinterHandle> openPrinter(const QString &deviceName) override;
    int documentPropertiesSize(const QString &deviceName) override;
    std::optional<DeviceMode> documentProperties(const QString &deviceName) override;
    std::unique_ptr<InformationContext> createInformationContext(const QString &driverName, const QString &deviceName,
                                                                 const QString &port,
                                                                 const DeviceMode *deviceMode) override;

private:
    const CupsSession::Round *round();
    // nullopt for a printer the scheduler does not know, or without an answer.
    std::optional<CupsPrinterFacts> facts(const QString &deviceName);

    QueryPatience m_patience;
    std::shared_ptr<CupsSession> m_session; // shared with the worker
    BackgroundQuery<CupsSession::Round> m_query;
    std::shared_ptr<const CupsSession::Round> m_round; // nullptr: no answer to give
    bool m_roundBegun = false;
    bool m_namesWanted = true;
    QHash<QString, QString> m_askedAbout; // printers asked about this round, by case-folded name
};
