#include "LinuxPrinters.h"

#include "CupsPrinterFacts.h"
#include "PpdDefaults.h"

#include <QTemporaryFile>
#include <QUrl>

#include <cups/cups.h>

#include <iterator>

namespace {

// Long enough for a scheduler on this machine, short enough not to hang the window.
constexpr int ConnectTimeoutMs = 1000;
constexpr double ReplyTimeoutSeconds = 1.0;
// The size of a Windows DEVMODE, which the device-mode queries stand in for.
constexpr int DeviceModeSize = 156;

struct DeleteIpp
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, DeleteIpp>;

enum class Need { DeviceMode, Resolution };

// The queue's PPD, where the scheduler has one for it.
std::optional<PpdDefaults> downloadPpd(http_t *http, const QString &name)
{
    QTemporaryFile file;
    if (!file.open())
        return std::nullopt;
    const QByteArray resource = "/printers/" + QUrl::toPercentEncoding(name) + ".ppd";
    if (cupsGetFd(http, resource.constData(), file.handle()) != HTTP_STATUS_OK)
        return std::nullopt;
    file.seek(0);
    return PpdDefaults::parse(file.readAll());
}

// One Get-Printer-Attributes request, and the PPD where it leaves out what is needed.
std::optional<CupsPrinterFacts> queryPrinter(http_t *http, const QString &name, Need need)
{
    static const char *const attributes[] = {"print-color-mode-default", "color-supported", "printer-type",
                                             "printer-resolution-default"};
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     name.toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(attributes)), nullptr, attributes);
    const IppMessage response(cupsDoRequest(http, request, "/"));
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        return std::nullopt;
    CupsPrinterFacts facts = CupsPrinterFacts::fromAttributes(response.get());
    const bool missing = need == Need::Resolution ? !facts.hasResolution() : !facts.hasColorMode();
    if (missing)
        if (const std::optional<PpdDefaults> ppd = downloadPpd(http, name))
            facts.complete(*ppd);
    return facts;
}

// Never ask anyone for a password: the queries need none, and there is no one to ask.
const char *noPassword(const char *, http_t *, const char *, const char *, void *)
{
    return nullptr;
}

class CupsPrinterHandle final : public PrinterHandle
{
public:
    explicit CupsPrinterHandle(const DeviceMode &deviceMode) : m_deviceMode(deviceMode) {}

    int documentPropertiesSize() override { return DeviceModeSize; }
    std::optional<DeviceMode> documentProperties() override { return m_deviceMode; }

private:
    DeviceMode m_deviceMode;
};

class CupsInformationContext final : public InformationContext
{
public:
    explicit CupsInformationContext(const QSize &resolution) : m_resolution(resolution) {}

    int deviceCaps(int index) const override
    {
        if (index == LogPixelsX)
            return m_resolution.width();
        if (index == LogPixelsY)
            return m_resolution.height();
        return 0;
    }

private:
    QSize m_resolution;
};

} // namespace

void LinuxPrinters::CloseHttp::operator()(http_t *http) const
{
    httpClose(http);
}

LinuxPrinters::LinuxPrinters()
{
    cupsSetPasswordCB2(noPassword, nullptr);
}

LinuxPrinters::~LinuxPrinters() = default;

http_t *LinuxPrinters::connection()
{
    if (!m_http) {
        m_http.reset(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, ConnectTimeoutMs,
                                  nullptr));
        if (m_http)
            httpSetTimeout(m_http.get(), ReplyTimeoutSeconds, nullptr, nullptr);
    }
    return m_http.get();
}

void LinuxPrinters::forgetConnectionIfGone()
{
    if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        m_http.reset();
}

std::optional<QStringList> LinuxPrinters::printerNames()
{
    m_learntDeviceMode.reset();
    QStringList names;
    http_t *http = connection();
    if (!http)
        return names;
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(http, &dests);
    forgetConnectionIfGone();
    // Instances are option sets of a queue listed already, not printers.
    for (int i = 0; i < count; ++i)
        if (!dests[i].instance)
            names.append(QString::fromUtf8(dests[i].name));
    cupsFreeDests(count, dests);
    return names;
}

// The default as the CUPS tools see it: LPDEST, PRINTER, the lpoptions files,
// then the scheduler's default.
std::optional<QString> LinuxPrinters::defaultPrinterName()
{
    m_learntDeviceMode.reset();
    http_t *http = connection();
    if (!http)
        return std::nullopt;
    cups_dest_t *dest = cupsGetNamedDest(http, nullptr, nullptr);
    forgetConnectionIfGone();
    if (!dest)
        return std::nullopt;
    const QString name = QString::fromUtf8(dest->name);
    const CupsPrinterFacts facts = CupsPrinterFacts::fromOptions(dest->num_options, dest->options);
    if (facts.hasColorMode())
        m_learntDeviceMode.emplace(name, facts.deviceMode());
    cupsFreeDests(1, dest);
    return name;
}

std::unique_ptr<PrinterHandle> LinuxPrinters::openPrinter(const QString &deviceName)
{
    std::optional<DeviceMode> deviceMode = takeLearntDeviceMode(deviceName);
    if (!deviceMode)
        deviceMode = queryDeviceMode(deviceName);
    return deviceMode ? std::make_unique<CupsPrinterHandle>(*deviceMode) : nullptr;
}

int LinuxPrinters::documentPropertiesSize(const QString &deviceName)
{
    m_learntDeviceMode.reset();
    const std::optional<DeviceMode> deviceMode = queryDeviceMode(deviceName);
    if (!deviceMode)
        return -1;
    m_learntDeviceMode.emplace(deviceName, *deviceMode);
    return DeviceModeSize;
}

std::optional<DeviceMode> LinuxPrinters::documentProperties(const QString &deviceName)
{
    if (std::optional<DeviceMode> deviceMode = takeLearntDeviceMode(deviceName))
        return deviceMode;
    return queryDeviceMode(deviceName);
}

std::unique_ptr<InformationContext> LinuxPrinters::createInformationContext(const QString &, const QString &deviceName,
                                                                            const QString &, const DeviceMode *)
{
    m_learntDeviceMode.reset();
    http_t *http = connection();
    if (!http)
        return nullptr;
    const std::optional<CupsPrinterFacts> facts = queryPrinter(http, deviceName, Need::Resolution);
    forgetConnectionIfGone();
    if (!facts || !facts->resolution())
        return nullptr;
    return std::make_unique<CupsInformationContext>(*facts->resolution());
}

std::optional<DeviceMode> LinuxPrinters::queryDeviceMode(const QString &deviceName)
{
    http_t *http = connection();
    if (!http)
        return std::nullopt;
    const std::optional<CupsPrinterFacts> facts = queryPrinter(http, deviceName, Need::DeviceMode);
    forgetConnectionIfGone();
    if (!facts)
        return std::nullopt;
    return facts->deviceMode();
}

std::optional<DeviceMode> LinuxPrinters::takeLearntDeviceMode(const QString &deviceName)
{
    const std::optional<std::pair<QString, DeviceMode>> learnt = std::exchange(m_learntDeviceMode, std::nullopt);
    // The scheduler matches printer names ignoring case.
    if (learnt && learnt->first.compare(deviceName, Qt::CaseInsensitive) == 0)
        return learnt->second;
    return std::nullopt;
}
