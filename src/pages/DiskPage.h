// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Wording.h"

#include <QWidget>

#include <optional>

enum class DriveType : quint32;
class DriveSource;
class JoinedText;
class TDriveComboBox;
class TFileListBox;
class TLabel;

// Page 2: the chosen drive's label and serial, file system, type and sizes.
class DiskPage : public QWidget
{
    Q_OBJECT

public:
    // The title of the box around the drive selector, which start-up leaves as it is.
    static const QString DriveBoxCaption;

    DiskPage(DriveSource &drives, QWidget *parent);

    TDriveComboBox *driveSelector() const { return m_selector; }
    DriveSource &driveSource() const { return m_drives; }

    // What the page does when the selector announces a drive.
    void driveChanged();

    // The disk steps of the per-second tick.
    void writeVolumeLabelSerial();
    void writeFileSystemName();
    void writeTotalSize();
    void writeFreeSize();

    // The file list only carries the change of drive; it is never shown.
    void hideFileList();

    // "Label = DATA   VolSer = 0A1B2C3D" for the drive with this letter; nullopt
    // when the letter names no drive. A volume that cannot be queried reads
    // as unlabelled with serial number 0.
    std::optional<JoinedText> VolumeLabelSerialText(QChar letter) const;
    // The drive's file-system name, at most 31 characters; empty when the
    // volume cannot be queried; nullopt when the letter names no drive.
    std::optional<QString> FileSystemNameText(QChar letter) const;
    // The same texts, asked of any drive source.
    static std::optional<JoinedText> VolumeLabelSerialText(DriveSource &drives, QChar letter);
    static std::optional<QString> FileSystemNameText(DriveSource &drives, QChar letter);
    // A size label's text; a failed size query reads as no bytes at all.
    static QString sizeText(std::optional<quint64> bytes);
    // The drive-type text of Label33; empty for a type it leaves alone.
    static QString driveTypeText(DriveType type, const Wording &words = Wording::shown());
    // What the report says of a type the page leaves alone.
    static QString unknownDriveTypeText(const Wording &words = Wording::shown());
    // The type whose text Label33 shows; nullopt before it is first written.
    std::optional<DriveType> shownDriveType() const { return m_shownDriveType; }

private:
    DriveSource &m_drives;
    TDriveComboBox *m_selector;
    TLabel *m_labelSerial;
    TLabel *m_fileSystem;
    TLabel *m_driveType;
    TLabel *m_totalSize;
    TLabel *m_freeSize;
    TFileListBox *m_fileList;
    std::optional<DriveType> m_shownDriveType;
};
