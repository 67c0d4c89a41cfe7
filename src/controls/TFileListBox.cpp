#include "TFileListBox.h"

#include "platform/DriveSource.h"

TFileListBox::TFileListBox(DriveSource &drives, const QString &name, const QRect &bounds, QWidget *parent)
    : QListWidget(parent)
    , m_drives(drives)
    , m_directory(drives.currentDirectory())
{
    setObjectName(name);
    setGeometry(bounds);
}
