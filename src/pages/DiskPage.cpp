// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskPage.h"

#include "MegabyteText.h"
#include "controls/TGroupBox.h"
#include "controls/drives/TDriveComboBox.h"
#include "controls/lists/TFileListBox.h"
#include "controls/text/JoinedText.h"
#include "controls/text/TLabel.h"
#include "platform/DriveSource.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype FileSystemNameLimit = 31;
const QString NoSize = u"0 MB"_s;

// The drive's root, "c:\\"; empty when the selector holds no drive.
QString rootOf(QChar letter)
{
    return letter.isNull() ? QString() : QString(letter) + u":\\"_s;
}

} // namespace

const QString DiskPage::DriveBoxCaption = u"HDD"_s;

DiskPage::DiskPage(DriveSource &drives, QWidget *parent)
    : QWidget(parent)
    , m_drives(drives)
{
    auto *box = new TGroupBox(u"GroupBox5"_s, QRect(8, 24, 345, 153), DriveBoxCaption, this);
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
    m_totalSize->setCaption(NoSize);
    m_freeSize->setCaption(NoSize);
    const QChar letter = m_selector->driveLetter();
    m_fileList->MakeDriveCurrent(letter);
    if (const std::optional<JoinedText> text = VolumeLabelSerialText(letter))
        m_labelSerial->setCaption(*text);
    m_totalSize->setCaption(sizeText(m_drives.totalBytes(rootOf(letter))));
    m_freeSize->setCaption(sizeText(m_drives.freeBytesForCaller(rootOf(letter))));
    if (letter.isNull())
        return;
    const DriveType type = m_drives.driveType(rootOf(letter));
    const QString typeText = driveTypeText(type);
    if (typeText.isEmpty())
        return;
    m_driveType->setCaption(typeText);
    m_shownDriveType = type;
}

void DiskPage::writeVolumeLabelSerial()
{
    if (const std::optional<JoinedText> text = VolumeLabelSerialText(m_selector->driveLetter()))
        m_labelSerial->setCaption(*text);
}

void DiskPage::writeFileSystemName()
{
    if (const std::optional<QString> text = FileSystemNameText(m_selector->driveLetter()))
        m_fileSystem->setCaption(*text);
}

void DiskPage::writeTotalSize()
{
    m_totalSize->setCaption(sizeText(m_drives.totalBytes(rootOf(m_selector->driveLetter()))));
}

void DiskPage::writeFreeSize()
{
    m_freeSize->setCaption(sizeText(m_drives.freeBytesForCaller(rootOf(m_selector->driveLetter()))));
}

QString DiskPage::sizeText(std::optional<quint64> bytes)
{
    return megabyteText(bytes.value_or(0));
}

std::optional<JoinedText> DiskPage::VolumeLabelSerialText(QChar letter) const
{
    return VolumeLabelSerialText(m_drives, letter);
}

std::optional<QString> DiskPage::FileSystemNameText(QChar letter) const
{
    return FileSystemNameText(m_drives, letter);
}

std::optional<JoinedText> DiskPage::VolumeLabelSerialText(DriveSource &drives, QChar letter)
{
    const QString root = rootOf(letter);
    if (root.isEmpty())
        return std::nullopt;
    const VolumeInformation volume = drives.volumeInformation(root).value_or(VolumeInformation());
    const QString serial = u"%1"_s.arg(volume.serialNumber, 8, 16, QChar(u'0')).toUpper();
    return JoinedText().own(u"Label = "_s).outside(textUntilZero(volume.volumeName)).own(u"   VolSer = "_s + serial);
}

std::optional<QString> DiskPage::FileSystemNameText(DriveSource &drives, QChar letter)
{
    const QString root = rootOf(letter);
    if (root.isEmpty())
        return std::nullopt;
    const std::optional<VolumeInformation> volume = drives.volumeInformation(root);
    return volume ? textUntilZero(volume->fileSystemName).left(FileSystemNameLimit) : QString();
}

QString DiskPage::driveTypeText(DriveType type, const Wording &words)
{
    switch (type) {
    case DriveType::Removable:
        return words.translate("DiskPage", "可移动存储器或软盘");
    case DriveType::Fixed:
        return words.translate("DiskPage", "固定驱动器");
    case DriveType::Remote:
        return words.translate("DiskPage", "远程存储器");
    case DriveType::CdRom:
        return words.translate("DiskPage", "光盘驱动器");
    case DriveType::RamDisk:
        return words.translate("DiskPage", "内存存储器");
    default:
        return {};
    }
}

QString DiskPage::unknownDriveTypeText(const Wording &words)
{
    return words.translate("DiskPage", "未知");
}
