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

    QString directory() const { return m_directory; }

private:
    DriveSource &m_drives;
    QString m_directory;
};
