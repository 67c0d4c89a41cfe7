#include "PrinterPage.h"

#include "controls/TLabel.h"
#include "controls/TListBox.h"
#include "platform/PrinterSource.h"

using namespace Qt::StringLiterals;

PrinterPage::PrinterPage(PrinterSource &printers, QWidget *parent)
    : QWidget(parent)
    , m_printers(printers)
{
    new TLabel(u"Label30"_s, QRect(8, 24, 82, 14), u"Installed Printers:"_s, this);
    m_printerList = new TListBox(u"ListBox2"_s, QRect(8, 40, 257, 89), this);
    TLabel::captionLabel(u"Label28"_s, QRect(8, 152, 101, 14), u"Default Printer Name:"_s, this);
    m_defaultName = new TLabel(u"Label26"_s, QRect(8, 168, 58, 14), u"<Unknown>"_s, this);
    m_colorSupport = new TLabel(u"Label27"_s, QRect(8, 184, 58, 14), u"<Unknown>"_s, this);
    TLabel::captionLabel(u"Label29"_s, QRect(8, 208, 85, 14), u"Printer Accuracy:"_s, this);
    m_resolution = new TLabel(u"Label25"_s, QRect(8, 224, 58, 14), u"<Unknown>"_s, this);
}

void PrinterPage::refresh()
{
}
