#pragma once

#include <QWidget>

class DriveSource;
class TDriveComboBox;
class TFileListBox;
class TLabel;

// Page 2: the chosen drive's label and serial, file system, type and sizes.
class DiskPage : public QWidget
{
    Q_OBJECT

public:
    DiskPage(DriveSource &drives, QWidget *parent);

    TDriveComboBox *driveSelector() const { return m_selector; }

    // What the page does when the selector announces a drive.
    void driveChanged();

    // The disk steps of the per-second tick.
    void writeVolumeLabelSerial();
    void writeFileSystemName();
    void writeTotalSize();
    void writeFreeSize();

    // The file list only carries the change of drive; it is never shown.
    void hideFileList();

private:
    DriveSource &m_drives;
    TDriveComboBox *m_selector;
    TLabel *m_labelSerial;
    TLabel *m_fileSystem;
    TLabel *m_driveType;
    TLabel *m_totalSize;
    TLabel *m_freeSize;
    TFileListBox *m_fileList;
};
