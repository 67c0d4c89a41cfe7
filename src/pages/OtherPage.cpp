#include "OtherPage.h"

#include "controls/TGroupBox.h"
#include "controls/TLabel.h"
#include "platform/ClockSource.h"
#include "platform/NetworkSource.h"

using namespace Qt::StringLiterals;

OtherPage::OtherPage(NetworkSource &network, ClockSource &clock, QWidget *parent)
    : QWidget(parent)
    , m_network(network)
    , m_clock(clock)
{
    auto *networkBox = new TGroupBox(u"GroupBox7"_s, QRect(8, 32, 337, 65), u"Network"_s, this);
    TLabel::captionLabel(u"Label18"_s, QRect(16, 24, 60, 14), u"Computer IP:"_s, networkBox);
    m_address = new TLabel(u"Label17"_s, QRect(104, 24, 58, 14), u"<Unknown>"_s, networkBox);
    TLabel::captionLabel(u"Label20"_s, QRect(16, 40, 79, 14), u"Computer Name:"_s, networkBox);
    m_hostName = new TLabel(u"Label19"_s, QRect(104, 40, 58, 14), u"<Unknown>"_s, networkBox);
    auto *uptimeBox = new TGroupBox(u"GroupBox8"_s, QRect(8, 104, 337, 73), u"Windows"_s, this);
    TLabel::captionLabel(u"Label32"_s, QRect(16, 24, 87, 14), u"Windows Up time:"_s, uptimeBox);
    m_uptime = new TLabel(u"Label31"_s, QRect(16, 40, 58, 14), u"<Unknown>"_s, uptimeBox);
}

void OtherPage::writeAddress()
{
}

void OtherPage::writeHostName()
{
}

void OtherPage::writeUptime()
{
}
