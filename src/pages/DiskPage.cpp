#include "DiskPage.h"

#include "controls/TDriveComboBox.h"
#include "controls/TFileListBox.h"
#include "controls/TGroupBox.h"
#include "controls/TLabel.h"
#include "platform/DriveSource.h"

using namespace Qt::StringLiterals;

DiskPage::DiskPage(DriveSource &drives, QWidget *parent)
    : QWidget(parent)
    , m_drives(drives)
{
    auto *box = new TGroupBox(u"GroupBox5"_s, QRect(8, 24, 345, 153), u"HDD"_s, this);
    m_selector = new TDriveComboBox(drives, u"DriveComboBox1"_s, QRect(16, 24, 193, 20), box);
    TLabel::captionLabel(u"Label15"_s, QRect(16, 56, 98, 14), u"Drive Serial Number:"_s, box);
    m_labelSerial = new TLabel(u"Label16"_s, QRect(128, 56, 58, 14), u"<Unknown>"_s, box);
    TLabel::captionLabel(u"Label13"_s, QRect(16, 72, 96, 14), u"Drive Partition Type:"_s, box);
    m_fileSystem = new TLabel(u"Label14"_s, QRect(128, 72, 58, 14), u"<Unknown>"_s, box);
    TLabel::captionLabel(u"Label34"_s, QRect(16, 88, 55, 14), u"Drive Type:"_s, box);
    m_driveType = new TLabel(u"Label33"_s, QRect(128, 88, 58, 14), u"<Unknown>"_s, box);
    TLabel::captionLabel(u"Label21"_s, QRect(16, 112, 73, 14), u"Total Disk Size:"_s, box);
    m_totalSize = new TLabel(u"Label22"_s, QRect(128, 112, 58, 14), u"<Unknown>"_s, box);
    TLabel::captionLabel(u"Label23"_s, QRect(16, 128, 72, 14), u"Free Disk Size:"_s, box);
    m_freeSize = new TLabel(u"Label24"_s, QRect(128, 128, 58, 14), u"<Unknown>"_s, box);
    m_fileList = new TFileListBox(drives, u"FileListBox1"_s, QRect(208, 56, 65, 49), box);
}

void DiskPage::hideFileList()
{
    m_fileList->hide();
}

void DiskPage::driveChanged()
{
}

void DiskPage::writeVolumeLabelSerial()
{
}

void DiskPage::writeFileSystemName()
{
}

void DiskPage::writeTotalSize()
{
}

void DiskPage::writeFreeSize()
{
}
