// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TPrinter.h"
#include "app/Wording.h"
#include "controls/text/JoinedText.h"
#include "platform/PrinterSource.h"

#include <QSize>
#include <QWidget>

#include <optional>

class PrinterSource;
class TLabel;
class TListBox;

// Page 4: the printers and the default printer's colour mode and resolution.
class PrinterPage : public QWidget
{
    Q_OBJECT

public:
    PrinterPage(PrinterSource &printers, QWidget *parent);

    // The per-second tick; throws Failure where it stops.
    void refresh();

    // What the labels show, as figures: each part nullopt until a tick first reaches it; a
    // tick that stops early leaves the parts after that step as they were, as it leaves the labels.
    struct Shown
    {
        std::optional<QSize> resolution;
        std::optional<QString> defaultPrinterName;
        std::optional<DeviceMode> deviceMode;
    };
    const Shown &shown() const { return m_shown; }

    // The label texts: "x: 600 y: 600 DPI (每英寸点数)", "NAME: 彩色", "打印机支持彩色打印".
    static QString resolutionText(int x, int y, const Wording &words = Wording::shown());
    static JoinedText defaultPrinterText(const QString &deviceName, const DeviceMode &deviceMode,
                                         const Wording &words = Wording::shown());
    static QString colorSupportText(const DeviceMode &deviceMode, const Wording &words = Wording::shown());
    static bool printsInColor(const DeviceMode &deviceMode);
    static bool supportsColor(const DeviceMode &deviceMode);
    // The device mode asked by name alone; throws Failure for a printer that has none to give.
    static DeviceMode deviceModeByName(PrinterSource &printers, const QString &deviceName);

private:
    int PrinterDpiX();
    int PrinterDpiY();
    QStringList printerTexts();
    void markDefaultPrinter(const QString &deviceName);

    PrinterSource &m_printers;
    TPrinter m_printer;
    TListBox *m_printerList;
    TLabel *m_defaultName;
    TLabel *m_colorSupport;
    TLabel *m_resolution;
    Shown m_shown;
};
