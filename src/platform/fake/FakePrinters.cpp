// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakePrinters.h"

#include "platform/Failure.h"

#include <thread>

using namespace Qt::StringLiterals;

namespace {

std::optional<DeviceMode> deviceModeOf(const FakePrinter *printer)
{
    if (!printer || printer->devmodeSize <= 0)
        return std::nullopt;
    return DeviceMode{printer->dmColor, printer->colorFlag ? DeviceMode::ColorField : 0u};
}

class FakePrinterHandle final : public PrinterHandle
{
public:
    explicit FakePrinterHandle(FakePrinter printer)
        : m_printer(std::move(printer))
    {
    }

    int documentPropertiesSize() override { return m_printer.devmodeSize; }
    std::optional<DeviceMode> documentProperties() override { return deviceModeOf(&m_printer); }

private:
    FakePrinter m_printer;
};

class FakeInformationContext final : public InformationContext
{
public:
    FakeInformationContext(int dpiX, int dpiY)
        : m_dpiX(dpiX)
        , m_dpiY(dpiY)
    {
    }

    int deviceCaps(int index) const override
    {
        if (index == LogPixelsX)
            return m_dpiX;
        if (index == LogPixelsY)
            return m_dpiY;
        return 0;
    }

private:
    int m_dpiX;
    int m_dpiY;
};

} // namespace

void FakePrinters::beginRound()
{
    const int delay = m_machine.delays.printers;
    if (delay <= 0)
        return;
    // The worker gets its own copy: the machine may change while it sleeps.
    m_round = m_query.ask(
        [table = m_machine.printers, delay] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            return table;
        },
        QueryPatience::window().forQuery(m_query.answer() != nullptr));
}

const FakePrinterTable *FakePrinters::table()
{
    return m_machine.delays.printers > 0 ? m_round.get() : &m_machine.printers;
}

const FakePrinter *FakePrinters::find(const QString &deviceName)
{
    const FakePrinterTable *printers = table();
    if (!printers)
        return nullptr;
    for (const FakePrinter &printer : printers->list)
        if (printer.name.compare(deviceName, Qt::CaseInsensitive) == 0)
            return &printer;
    return nullptr;
}

std::optional<QStringList> FakePrinters::printerNames()
{
    const FakePrinterTable *printers = table();
    if (!printers)
        throw Failure(u"The print server has not answered"_s);
    QStringList names;
    for (const FakePrinter &printer : printers->list)
        names.append(printer.name);
    return names;
}

std::optional<QString> FakePrinters::defaultPrinterName()
{
    const FakePrinterTable *printers = table();
    return printers ? printers->defaultName : std::nullopt;
}

std::unique_ptr<PrinterHandle> FakePrinters::openPrinter(const QString &deviceName)
{
    const FakePrinter *printer = find(deviceName);
    return printer ? std::make_unique<FakePrinterHandle>(*printer) : nullptr;
}

int FakePrinters::documentPropertiesSize(const QString &deviceName)
{
    const FakePrinter *printer = find(deviceName);
    return printer ? printer->devmodeSize : -1;
}

std::optional<DeviceMode> FakePrinters::documentProperties(const QString &deviceName)
{
    return deviceModeOf(find(deviceName));
}

std::unique_ptr<InformationContext> FakePrinters::createInformationContext(const QString &, const QString &deviceName,
                                                                           const QString &, const DeviceMode *)
{
    const FakePrinter *printer = find(deviceName);
    if (!printer || !printer->infoContext)
        return nullptr;
    return std::make_unique<FakeInformationContext>(printer->dpiX, printer->dpiY);
}
