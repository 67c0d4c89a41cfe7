// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFileListBox.h"

#include "platform/DriveSource.h"
#include "platform/Failure.h"

using namespace Qt::StringLiterals;

TFileListBox::TFileListBox(DriveSource &drives, const QString &name, const QRect &bounds, QWidget *parent)
    : QListWidget(parent)
    , m_drives(drives)
    , m_directory(drives.currentDirectory())
{
    setObjectName(name);
    setGeometry(bounds);
}

void TFileListBox::MakeDriveCurrent(QChar letter)
{
    if (letter.isNull())
        return;
    if (!m_directory.isEmpty() && m_directory.at(0).toUpper() == letter.toUpper())
        return;
    const QString drivePath = QString(letter) + u':';
    const QString before = m_drives.currentDirectory();
    // "x:" leads to the directory the system keeps for that drive; read it and come back.
    if (!m_drives.setCurrentDirectory(drivePath))
        throw Failure(u"cannot enter drive %1"_s.arg(drivePath));
    const QString target = m_drives.currentDirectory();
    m_drives.setCurrentDirectory(before);
    // From the directory last switched to, if it is still there, to the new drive's directory.
    m_drives.setCurrentDirectory(m_directory);
    if (!m_drives.setCurrentDirectory(target)) {
        m_drives.setCurrentDirectory(before);
        throw Failure(u"cannot enter %1"_s.arg(target));
    }
    m_directory = m_drives.currentDirectory();
}
