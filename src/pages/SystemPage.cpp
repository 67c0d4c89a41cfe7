#include "SystemPage.h"

#include "controls/TGroupBox.h"
#include "controls/TListBox.h"
#include "controls/TListView.h"
#include "platform/RegistrySource.h"
#include "platform/ServiceSource.h"

using namespace Qt::StringLiterals;

SystemPage::SystemPage(ServiceSource &services, RegistrySource &registry, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_registry(registry)
{
    auto *servicesBox = new TGroupBox(u"GroupBox4"_s, QRect(3, 16, 345, 153), u"Installed Services"_s, this);
    m_serviceList = new TListBox(u"ListBox1"_s, QRect(16, 24, 313, 113), servicesBox);
    auto *softwareBox = new TGroupBox(u"GroupBox6"_s, QRect(3, 184, 342, 161), u"Installed Softwares"_s, this);
    m_softwareList = new TListView(u"ListView1"_s, QRect(16, 24, 313, 129), softwareBox);
    QFont listFont(u"MS Sans Serif"_s);
    listFont.setPixelSize(11);
    listFont.setStyleHint(QFont::SansSerif);
    m_softwareList->setFont(listFont);
}

void SystemPage::fillServices()
{
}

void SystemPage::fillSoftware()
{
}
