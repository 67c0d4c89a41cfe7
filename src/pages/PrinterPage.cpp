// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrinterPage.h"

#include "controls/lists/TListBox.h"
#include "controls/text/JoinedText.h"
#include "controls/text/TLabel.h"
#include "platform/Failure.h"
#include "platform/PrinterSource.h"

using namespace Qt::StringLiterals;

namespace {

const QString NoDeviceMode = u"The printer's device mode cannot be read"_s;

} // namespace

PrinterPage::PrinterPage(PrinterSource &printers, QWidget *parent)
    : QWidget(parent)
    , m_printers(printers)
    , m_printer(printers)
{
    new TLabel(u"Label30"_s, QRect(8, 24, 82, 14), u"Installed Printers:"_s, this);
    m_printerList = new TListBox(u"ListBox2"_s, QRect(8, 40, 257, 89), this);
    TLabel::captionLabel(u"Label28"_s, QRect(8, 152, 101, 14), u"Default Printer Name:"_s, this);
    m_defaultName = new TLabel(u"Label26"_s, QRect(8, 168, 58, 14), u"<Unknown>"_s, this);
    m_colorSupport = new TLabel(u"Label27"_s, QRect(8, 184, 58, 14), u"<Unknown>"_s, this);
    TLabel::captionLabel(u"Label29"_s, QRect(8, 208, 85, 14), u"Printer Accuracy:"_s, this);
    m_resolution = new TLabel(u"Label25"_s, QRect(8, 224, 58, 14), u"<Unknown>"_s, this);
}

// The resolution is measured on the printer current when the tick begins, which
// is the default printer as the previous tick resolved it; the name and colour
// are read from the default printer resolved now.
void PrinterPage::refresh()
{
    m_printers.beginRound();
    m_printerList->setLines(printerTexts());
    const int x = PrinterDpiX();
    const int y = PrinterDpiY();
    m_resolution->setCaption(resolutionText(x, y));
    m_shown.resolution = QSize(x, y);
    m_printer.setCurrentPrinterIndex(TPrinter::DefaultPrinter);
    const QString deviceName = m_printer.currentPrinter().device();
    markDefaultPrinter(deviceName);
    m_shown.defaultPrinterName = deviceName;
    const DeviceMode deviceMode = deviceModeByName(m_printers, deviceName);
    m_defaultName->setCaption(defaultPrinterText(deviceName, deviceMode));
    m_colorSupport->setCaption(colorSupportText(deviceMode));
    m_shown.deviceMode = deviceMode;
}

QString PrinterPage::resolutionText(int x, int y, const Wording &words)
{
    return words.translate("PrinterPage", "x: %1 y: %2 DPI (每英寸点数)").arg(x).arg(y);
}

bool PrinterPage::printsInColor(const DeviceMode &deviceMode)
{
    return deviceMode.dmColor > DeviceMode::Monochrome;
}

bool PrinterPage::supportsColor(const DeviceMode &deviceMode)
{
    return (deviceMode.dmFields & DeviceMode::ColorField) != 0;
}

JoinedText PrinterPage::defaultPrinterText(const QString &deviceName, const DeviceMode &deviceMode,
                                           const Wording &words)
{
    return JoinedText()
        .outside(deviceName)
        .own(printsInColor(deviceMode) ? words.translate("PrinterPage", ": 彩色")
                                       : words.translate("PrinterPage", ": 黑白"));
}

QString PrinterPage::colorSupportText(const DeviceMode &deviceMode, const Wording &words)
{
    return supportsColor(deviceMode) ? words.translate("PrinterPage", "打印机支持彩色打印")
                                     : words.translate("PrinterPage", "打印机不支持彩色打印");
}

int PrinterPage::PrinterDpiX()
{
    return m_printer.PrinterInfoContext().deviceCaps(InformationContext::LogPixelsX);
}

int PrinterPage::PrinterDpiY()
{
    return m_printer.PrinterInfoContext().deviceCaps(InformationContext::LogPixelsY);
}

// The list draws every printer alike; a reader hears which one is the default. Names are
// compared without regard to case, as the default printer is found in the list.
void PrinterPage::markDefaultPrinter(const QString &deviceName)
{
    const QList<QListWidgetItem *> found = m_printerList->findItems(deviceName, Qt::MatchFixedString);
    if (!found.isEmpty())
        found.constFirst()->setData(Qt::AccessibleDescriptionRole, tr("默认"));
}

QStringList PrinterPage::printerTexts()
{
    QStringList texts;
    for (const TPrinter::PrinterEntry &entry : m_printer.PrinterList())
        texts.append(entry.first);
    return texts;
}

// Asked by name alone, without the printer's open handle. A printer that has
// no device mode to give stops the tick here, before its colour is read.
DeviceMode PrinterPage::deviceModeByName(PrinterSource &printers, const QString &deviceName)
{
    if (printers.documentPropertiesSize(deviceName) <= 0)
        throw Failure(NoDeviceMode);
    const std::optional<DeviceMode> deviceMode = printers.documentProperties(deviceName);
    if (!deviceMode)
        throw Failure(NoDeviceMode);
    return *deviceMode;
}
