// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CupsPrinterFacts.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cups/http.h>

#include <memory>
#include <optional>

// One connection to the CUPS scheduler, kept open between rounds, and the
// questions the printer page asks over it. Every call may block for as long
// as the scheduler takes, so it is used on a worker thread, by one at a time.
// Where no scheduler answers, there are no printers and no default printer.
class CupsSession
{
public:
    // What one round of questions learnt.
    struct Round
    {
        std::optional<QStringList> names; // nullopt: the list was not asked for
        std::optional<QString> defaultName; // nullopt: there is no default printer
        // By case-folded name, as CUPS matches names; nullopt for a printer the scheduler does not know.
        QHash<QString, std::optional<CupsPrinterFacts>> facts;
    };

    CupsSession();
    ~CupsSession();
    CupsSession(const CupsSession &) = delete;
    CupsSession &operator=(const CupsSession &) = delete;

    // The default printer and its facts, the facts of the printers named, and
    // the list of printers when withNames is set.
    Round askRound(bool withNames, const QStringList &printers);

private:
    struct CloseHttp
    {
        void operator()(http_t *http) const;
    };

    // nullptr when no scheduler answers.
    http_t *connection();
    // Called after each request: a scheduler that has gone is connected to afresh next time.
    void forgetConnectionIfGone();
    QStringList printerNames();
    std::optional<QString> defaultName();
    // nullopt for a printer the scheduler does not know, or without a scheduler.
    std::optional<CupsPrinterFacts> facts(const QString &deviceName);

    std::unique_ptr<http_t, CloseHttp> m_http;
};
