// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <memory>
#include <optional>

// The fields of a printer's device mode that the printer page reads.
struct DeviceMode
{
    static constexpr quint32 ColorField = 0x800;
    static constexpr qint16 Monochrome = 1;
    static constexpr qint16 Color = 2;

    qint16 dmColor = 0;
    quint32 dmFields = 0;
};

// A query-only device context of a printer.
class InformationContext
{
public:
    static constexpr int LogPixelsX = 88;
    static constexpr int LogPixelsY = 90;

    virtual ~InformationContext() = default;
    virtual int deviceCaps(int index) const = 0;
};

// A printer opened by name; closed when destroyed.
class PrinterHandle
{
public:
    virtual ~PrinterHandle() = default;

    // Size of the printer's device mode in bytes; 0 or less when it has none.
    virtual int documentPropertiesSize() = 0;
    virtual std::optional<DeviceMode> documentProperties() = 0;
};

class PrinterSource
{
public:
    virtual ~PrinterSource() = default;

    // The printer page asks its questions in rounds, one a tick. Within a round a
    // source may answer a question again from what it learnt the first time; a
    // new round asks afresh.
    virtual void beginRound() { }

    // Local printers and connections, in the spooler's order; nullopt when enumerating fails.
    virtual std::optional<QStringList> printerNames() = 0;
    // The default printer's name; nullopt when there is no default printer.
    virtual std::optional<QString> defaultPrinterName() = 0;
    // nullptr when the printer cannot be opened.
    virtual std::unique_ptr<PrinterHandle> openPrinter(const QString &deviceName) = 0;
    // The same device-mode queries as PrinterHandle, by device name alone.
    virtual int documentPropertiesSize(const QString &deviceName) = 0;
    virtual std::optional<DeviceMode> documentProperties(const QString &deviceName) = 0;
    // nullptr when no context can be made for the printer.
    virtual std::unique_ptr<InformationContext> createInformationContext(const QString &driverName,
                                                                         const QString &deviceName, const QString &port,
                                                                         const DeviceMode *deviceMode) = 0;
};
