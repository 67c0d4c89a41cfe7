#pragma once

#include "TPrinter.h"

#include <QWidget>

struct DeviceMode;
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

private:
    int PrinterDpiX();
    int PrinterDpiY();
    QStringList printerTexts();
    DeviceMode deviceModeByName(const QString &deviceName);

    PrinterSource &m_printers;
    TPrinter m_printer;
    TListBox *m_printerList;
    TLabel *m_defaultName;
    TLabel *m_colorSupport;
    TLabel *m_resolution;
};
