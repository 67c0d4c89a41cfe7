// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxPrinters.h"

#include "CupsLibrary.h"
#include "platform/Failure.h"

using namespace Qt::StringLiterals;

namespace {

// The size of a Windows DEVMODE, which the device-mode queries stand in for.
constexpr int DeviceModeSize = 156;

class CupsPrinterHandle final : public PrinterHandle
{
public:
    explicit CupsPrinterHandle(const DeviceMode &deviceMode)
        : m_deviceMode(deviceMode)
    {
    }

    int documentPropertiesSize() override { return DeviceModeSize; }
    std::optional<DeviceMode> documentProperties() override { return m_deviceMode; }

private:
    DeviceMode m_deviceMode;
};

class CupsInformationContext final : public InformationContext
{
public:
    explicit CupsInformationContext(const QSize &resolution)
        : m_resolution(resolution)
    {
    }

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

LinuxPrinters::LinuxPrinters(QueryPatience patience)
    : m_patience(patience)
    , m_session(std::make_shared<CupsSession>())
{
}

LinuxPrinters::~LinuxPrinters() = default;

// Asks for this round what the page asked last round, the default printer's
// facts and, until it is given, the list; a round still out is not asked again.
void LinuxPrinters::beginRound()
{
    m_roundBegun = true;
    const QStringList printers = m_askedAbout.values();
    m_askedAbout.clear();
    const bool withNames = m_namesWanted;
    m_round = m_query.ask([session = m_session, withNames, printers] { return session->askRound(withNames, printers); },
                          m_patience.forQuery(m_query.answer() != nullptr));
}

const CupsSession::Round *LinuxPrinters::round()
{
    if (!m_roundBegun)
        beginRound();
    return m_round.get();
}

std::optional<QStringList> LinuxPrinters::printerNames()
{
    const CupsSession::Round *answer = round();
    if (!answer || !answer->names) {
        m_namesWanted = true;
        throw Failure(u"The print server has not answered"_s);
    }
    m_namesWanted = false;
    return answer->names;
}

std::optional<QString> LinuxPrinters::defaultPrinterName()
{
    const CupsSession::Round *answer = round();
    return answer ? answer->defaultName : std::nullopt;
}

std::unique_ptr<PrinterHandle> LinuxPrinters::openPrinter(const QString &deviceName)
{
    const std::optional<CupsPrinterFacts> printer = facts(deviceName);
    return printer ? std::make_unique<CupsPrinterHandle>(printer->deviceMode()) : nullptr;
}

int LinuxPrinters::documentPropertiesSize(const QString &deviceName)
{
    return facts(deviceName) ? DeviceModeSize : -1;
}

std::optional<DeviceMode> LinuxPrinters::documentProperties(const QString &deviceName)
{
    const std::optional<CupsPrinterFacts> printer = facts(deviceName);
    if (!printer)
        return std::nullopt;
    return printer->deviceMode();
}

std::unique_ptr<InformationContext> LinuxPrinters::createInformationContext(const QString &, const QString &deviceName,
                                                                            const QString &, const DeviceMode *)
{
    const std::optional<CupsPrinterFacts> printer = facts(deviceName);
    if (!printer || !printer->resolution())
        return nullptr;
    return std::make_unique<CupsInformationContext>(*printer->resolution());
}

// A printer the round did not ask about is asked about in the next one.
std::optional<CupsPrinterFacts> LinuxPrinters::facts(const QString &deviceName)
{
    const QString key = deviceName.toCaseFolded();
    m_askedAbout.insert(key, deviceName);
    const CupsSession::Round *answer = round();
    if (!answer)
        return std::nullopt;
    return answer->facts.value(key);
}
