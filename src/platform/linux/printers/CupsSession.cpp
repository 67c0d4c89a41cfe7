// SPDX-License-Identifier: GPL-3.0-or-later
#include "CupsSession.h"

#include "PpdDefaults.h"

#include <QTemporaryFile>
#include <QUrl>

#include "CupsLibrary.h"
#include "CupsSchedulerProbe.h"

#include <iterator>

namespace {

// Only reached once the library is loaded.
const CupsLibrary &cups()
{
    return *CupsLibrary::instance();
}

// Long enough for a scheduler on this machine; the worker waits them out, never the window.
constexpr int ConnectTimeoutMs = 1000;
constexpr double ReplyTimeoutSeconds = 1.0;

struct DeleteIpp
{
    void operator()(ipp_t *ipp) const { cups().ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, DeleteIpp>;

// The queue's PPD, where the scheduler has one for it.
std::optional<PpdDefaults> downloadPpd(http_t *http, const QString &name)
{
    QTemporaryFile file;
    if (!file.open())
        return std::nullopt;
    const QByteArray resource = "/printers/" + QUrl::toPercentEncoding(name) + ".ppd";
    if (cups().cupsGetFd(http, resource.constData(), file.handle()) != HTTP_STATUS_OK)
        return std::nullopt;
    file.seek(0);
    return PpdDefaults::parse(file.readAll());
}

IppMessage getPrinterAttributes(http_t *http, const QString &name)
{
    static const char *const attributes[] = {"print-color-mode-default", "color-supported", "printer-type",
                                             "printer-resolution-default"};
    ipp_t *request = cups().ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    cups().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", cups().ippPort(),
                            "/printers/%s", name.toUtf8().constData());
    cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    cups().ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                         static_cast<int>(std::size(attributes)), nullptr, attributes);
    IppMessage response(cups().cupsDoRequest(http, request, "/"));
    if (cups().cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        response.reset();
    return response;
}

// Never ask anyone for a password: the queries need none, and there is no one to ask.
const char *noPassword(const char *, http_t *, const char *, const char *, void *)
{
    return nullptr;
}

} // namespace

void CupsSession::CloseHttp::operator()(http_t *http) const
{
    cups().httpClose(http);
}

CupsSession::CupsSession() = default;

CupsSession::~CupsSession() = default;

http_t *CupsSession::connection()
{
    if (!m_http) {
        // Asked first, so that a machine without a scheduler never loads the library.
        if (!CupsSchedulerProbe(CupsSchedulerProbe::systemPlaces()).mayAnswer() || !CupsLibrary::instance())
            return nullptr;
        // libcups keeps its callbacks per thread: set on the thread that asks.
        cups().cupsSetPasswordCB2(noPassword, nullptr);
        m_http.reset(cups().httpConnect2(cups().cupsServer(), cups().ippPort(), nullptr, AF_UNSPEC,
                                         cups().cupsEncryption(), 1, ConnectTimeoutMs, nullptr));
        if (m_http)
            cups().httpSetTimeout(m_http.get(), ReplyTimeoutSeconds, nullptr, nullptr);
    }
    return m_http.get();
}

void CupsSession::forgetConnectionIfGone()
{
    if (cups().cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        m_http.reset();
}

CupsSession::Round CupsSession::askRound(bool withNames, const QStringList &printers)
{
    Round round;
    if (withNames)
        round.names = printerNames();
    round.defaultName = defaultName();
    QStringList wanted = printers;
    if (round.defaultName)
        wanted.prepend(*round.defaultName);
    for (const QString &name : std::as_const(wanted)) {
        const QString key = name.toCaseFolded();
        if (!round.facts.contains(key))
            round.facts.insert(key, facts(name));
    }
    return round;
}

QStringList CupsSession::printerNames()
{
    QStringList names;
    http_t *http = connection();
    if (!http)
        return names;
    cups_dest_t *dests = nullptr;
    const int count = cups().cupsGetDests2(http, &dests);
    forgetConnectionIfGone();
    // Instances are option sets of a queue listed already, not printers.
    for (int i = 0; i < count; ++i)
        if (!dests[i].instance)
            names.append(QString::fromUtf8(dests[i].name));
    cups().cupsFreeDests(count, dests);
    return names;
}

// The default as the CUPS tools see it: LPDEST, PRINTER, the lpoptions files,
// then the scheduler's default.
std::optional<QString> CupsSession::defaultName()
{
    http_t *http = connection();
    if (!http)
        return std::nullopt;
    cups_dest_t *dest = cups().cupsGetNamedDest(http, nullptr, nullptr);
    forgetConnectionIfGone();
    if (!dest)
        return std::nullopt;
    const QString name = QString::fromUtf8(dest->name);
    cups().cupsFreeDests(1, dest);
    return name;
}

// One Get-Printer-Attributes request, and the queue's PPD where that leaves something out.
std::optional<CupsPrinterFacts> CupsSession::facts(const QString &deviceName)
{
    http_t *http = connection();
    if (!http)
        return std::nullopt;
    const IppMessage attributes = getPrinterAttributes(http, deviceName);
    forgetConnectionIfGone();
    if (!attributes)
        return std::nullopt;
    CupsPrinterFacts printer = CupsPrinterFacts::fromAttributes(cups(), attributes.get());
    if (!printer.hasColorMode() || !printer.hasResolution())
        if (const std::optional<PpdDefaults> ppd = downloadPpd(http, deviceName))
            printer.complete(*ppd);
    return printer;
}
