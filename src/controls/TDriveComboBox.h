#pragma once

#include <QComboBox>

class DriveSource;

// A drop-down list of the machine's drives that holds the chosen drive's letter.
class TDriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    TDriveComboBox(DriveSource &drives, const QString &name, const QRect &bounds, QWidget *parent);

    // The selected drive's letter; a null character when there is none.
    QChar driveLetter() const { return m_driveLetter; }

    // Chooses the item at index as a user's pick in the drop-down does.
    void pickItem(int index);

Q_SIGNALS:
    void changed();

private:
    DriveSource &m_drives;
    QChar m_driveLetter;
};
