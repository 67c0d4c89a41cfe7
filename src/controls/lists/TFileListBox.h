// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

class DriveSource;

// A file list that is never shown; the disk page uses it to change the
// process's current drive, remembering the directory it last switched to.
class TFileListBox : public QListWidget
{
    Q_OBJECT

public:
    TFileListBox(DriveSource &drives, const QString &name, const QRect &bounds, QWidget *parent);

    // The full path of the directory it last switched to; at first the start-up directory.
    QString directory() const { return m_directory; }

    // Makes the drive with this letter the process's current drive, entering
    // the directory last used on it. Throws Failure when the drive cannot be
    // entered; the current directory then stays where it was. A null letter names no drive: nothing happens.
    void MakeDriveCurrent(QChar letter);

private:
    DriveSource &m_drives;
    QString m_directory;
};
