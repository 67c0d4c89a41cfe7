// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TPrinterDevice.h"
#include "platform/PrinterSource.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

// The printers and a current printer. The list is built on first request and
// kept for the object's life, so printers added or removed later are not seen.
// The current printer comes with its open handle, its device mode and, on
// demand, an information context.
class TPrinter
{
public:
    // Text shown for the printer, and the printer.
    using PrinterEntry = std::pair<QString, TPrinterDevice>;
    static constexpr int DefaultPrinter = -1;

    explicit TPrinter(PrinterSource &printers);
    ~TPrinter();

    const QList<PrinterEntry> &PrinterList();

    int CurrentPrinterIndex() const { return m_currentPrinterIndex; }
    // DefaultPrinter resolves the default printer at once (so there must be
    // one) and again on next use; any other index makes that entry current.
    void setCurrentPrinterIndex(int index);

    // The current printer, resolving the default one where none is chosen.
    const TPrinterDevice &currentPrinter();
    InformationContext &PrinterInfoContext();
    void SelectDefaultPrinter();

private:
    void makeCurrent(qsizetype index);

    PrinterSource &m_printers;
    std::optional<QList<PrinterEntry>> m_printerList;
    int m_currentPrinterIndex = DefaultPrinter;
    std::unique_ptr<PrinterHandle> m_printerHandle;
    std::optional<DeviceMode> m_deviceMode;
    std::unique_ptr<InformationContext> m_printerInfoContext;
};
