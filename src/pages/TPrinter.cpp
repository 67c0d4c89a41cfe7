// SPDX-License-Identifier: GPL-3.0-or-later
#include "TPrinter.h"

#include "platform/Failure.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString NoDefaultPrinter = u"There is no default printer currently selected"_s;
const QString InvalidPrinter = u"Printer selected is not valid"_s;
const QString IndexOutOfRange = u"Printer index out of range"_s;

} // namespace

TPrinter::TPrinter(PrinterSource &printers)
    : m_printers(printers)
{
}

TPrinter::~TPrinter() = default;

const QList<TPrinter::PrinterEntry> &TPrinter::PrinterList()
{
    if (!m_printerList) {
        QList<PrinterEntry> list;
        for (const QString &name : m_printers.printerNames().value_or(QStringList()))
            list.append({name, TPrinterDevice(name, QString(), QString())});
        m_printerList = std::move(list);
    }
    return *m_printerList;
}

void TPrinter::setCurrentPrinterIndex(int index)
{
    if (index == DefaultPrinter) {
        SelectDefaultPrinter();
        m_currentPrinterIndex = DefaultPrinter;
        m_printerInfoContext.reset();
        return;
    }
    if (index < 0 || index >= PrinterList().size())
        throw Failure(IndexOutOfRange);
    makeCurrent(index);
}

const TPrinterDevice &TPrinter::currentPrinter()
{
    if (m_currentPrinterIndex == DefaultPrinter)
        SelectDefaultPrinter();
    return PrinterList().at(m_currentPrinterIndex).second;
}

InformationContext &TPrinter::PrinterInfoContext()
{
    if (!m_printerInfoContext) {
        const TPrinterDevice &printer = currentPrinter();
        m_printerInfoContext = m_printers.createInformationContext(printer.driver(), printer.device(), printer.port(),
                                                                   m_deviceMode ? &*m_deviceMode : nullptr);
        if (!m_printerInfoContext)
            throw Failure(InvalidPrinter);
    }
    return *m_printerInfoContext;
}

void TPrinter::SelectDefaultPrinter()
{
    const std::optional<QString> defaultName = m_printers.defaultPrinterName();
    if (!defaultName)
        throw Failure(NoDefaultPrinter);
    const QList<PrinterEntry> &list = PrinterList();
    const auto entry = std::find_if(list.cbegin(), list.cend(), [&](const PrinterEntry &candidate) {
        return candidate.second.device().compare(*defaultName, Qt::CaseInsensitive) == 0;
    });
    if (entry == list.cend())
        throw Failure(NoDefaultPrinter);
    makeCurrent(entry - list.cbegin());
}

void TPrinter::makeCurrent(qsizetype index)
{
    m_deviceMode.reset();
    m_printerHandle.reset();
    m_printerInfoContext.reset();
    m_currentPrinterIndex = static_cast<int>(index);
    m_printerHandle = m_printers.openPrinter(PrinterList().at(index).second.device());
    // A printer without a device mode keeps none rather than an empty one.
    if (m_printerHandle && m_printerHandle->documentPropertiesSize() > 0)
        m_deviceMode = m_printerHandle->documentProperties();
}
