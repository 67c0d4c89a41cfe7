// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutPage.h"

#include "controls/drawing/TImage.h"
#include "controls/lists/ProgramIcon.h"
#include "controls/text/FormFonts.h"
#include "controls/text/TLabel.h"
#include "controls/text/TUrlLabel.h"

using namespace Qt::StringLiterals;

const QString AboutPage::HomePageAddress = u"https://pelzora.org/"_s;
const QString AboutPage::ContactAddress = u"team@pelzora.org"_s;
const QString AboutPage::VersionCaption = u"(Ver $V$)"_s;

AboutPage::AboutPage(ShellSource &shell, QWidget *parent)
    : QWidget(parent)
{
    auto *icon = new TImage(u"Image1"_s, QRect(144, 24, 32, 32), this);
    icon->setPicture(ProgramIcon::image(32));
    icon->setDensePicture(ProgramIcon::icon({32, 48, 64}));

    auto *title = new TLabel(u"Label35"_s, QRect(96, 72, 159, 16), u"Pelzora"_s, this);
    QFont titleFont = FormFonts::windowFont();
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    title->setFont(titleFont);

    new TLabel(u"LabVer"_s, QRect(144, 96, 49, 14), VersionCaption, this);
    new TLabel(u"Label37"_s, QRect(41, 128, 54, 14), u"HomePage:"_s, this, Qt::AlignRight);
    new TLabel(u"Label38"_s, QRect(69, 152, 27, 14), u"EMail:"_s, this, Qt::AlignRight);

    QFont linkFace = FormFonts::windowFont();
    linkFace.setUnderline(true);
    const TStyledLabel::StoredFont linkFont{linkFace, palette().color(QPalette::WindowText)};
    new TUrlLabel(shell, u"UrlLabel1"_s, QRect(112, 128, 140, 14), linkFont, HomePageAddress, HomePageAddress, this);
    new TUrlLabel(shell, u"UrlLabel2"_s, QRect(112, 152, 103, 14), linkFont, ContactAddress,
                  u"mailto:"_s + ContactAddress, this);
}
