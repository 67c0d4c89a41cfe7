#include "TDriveComboBox.h"

#include "platform/DriveSource.h"

TDriveComboBox::TDriveComboBox(DriveSource &drives, const QString &name, const QRect &bounds, QWidget *parent)
    : QComboBox(parent)
    , m_drives(drives)
{
    setObjectName(name);
    setGeometry(bounds);
    const QString current = drives.currentDirectory();
    if (!current.isEmpty() && current.at(0) != u'\\')
        m_driveLetter = current.at(0);
}

void TDriveComboBox::pickItem(int index)
{
    setCurrentIndex(index);
    Q_EMIT changed();
}
