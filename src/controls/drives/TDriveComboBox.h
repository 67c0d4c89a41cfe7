// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/drives/DriveIcons.h"

#include "controls/text/JoinedText.h"

#include <QComboBox>
#include <QTimer>

#include <chrono>
#include <optional>

class DriveSource;

// A drop-down list of the machine's drives that holds the chosen drive's letter.
// The list is built when the control first becomes visible, not before, and
// from then on follows the drives as they are mounted and unmounted.
class TDriveComboBox : public QComboBox
{
    Q_OBJECT

public:
    // At most this many items show at once in the drop-down.
    static constexpr int DropDownCount = 8;
    // Changes of the drives are gathered this long before the list follows them:
    // a storm of mounts rebuilds it a few times a second, not once per mount.
    static constexpr std::chrono::milliseconds RefreshDelay{200};

    TDriveComboBox(DriveSource &drives, const QString &name, const QRect &bounds, QWidget *parent);

    // The selected drive's letter; a null character when there is none. Before
    // the list is built it is the start-up drive's letter as the current directory spells it.
    QChar driveLetter() const { return m_driveLetter; }

    // Rebuilds the items from the drives present, in letter order, none selected.
    void BuildDriveList();
    // Brings the items up to the drives present: the chosen drive stays chosen while
    // it is there; when it has gone, the root drive is picked as a user picks it.
    void refreshDriveList();
    // Stores the letter (lower case), selects its drive and raises changed(),
    // unless a drive is selected and the letter is already the stored one.
    void SetDriveLetter(QChar letter);

    // The height of every item: the font's text height, at least an icon's.
    int ItemHeight() const { return m_itemHeight; }
    // The icon of the item at index; nullptr when it has none.
    const QPixmap *itemIcon(int index) const;
    // The item's text as drawn, its label or share name isolated; itemText() is its plain text.
    QString itemShownText(int index) const;
    // Where the item's drive is mounted and from which device, as its tooltip shows it.
    QString itemToolTip(int index) const;

    struct Item
    {
        JoinedText text;
        DriveIcons::Kind icon;
    };
    // The item of the drive with this (lower-case) letter; nullopt for a drive the list leaves out.
    static std::optional<Item> driveItem(DriveSource &drives, QChar letter);

    // Chooses the item at index as a user's pick in the drop-down does.
    void pickItem(int index);

Q_SIGNALS:
    void changed();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // One drive of the list as it is drawn and described.
    struct ListedDrive
    {
        QString text;
        QString shownText;
        DriveIcons::Kind icon;
        QStringList location; // the tooltip's lines

        bool operator==(const ListedDrive &) const = default;
    };

    void createList();
    void userPicked(int index);
    QList<ListedDrive> listDrives() const;
    void showDrives(const QList<ListedDrive> &drives);
    void addDriveItem(const ListedDrive &drive);
    int indexOfLetter(QChar letter) const;
    // The closed control tells where its chosen drive is, as the chosen item does.
    void describeChosenDrive();
    static QStringList locationLines(DriveSource &drives, const QString &root);
    static JoinedText volumeTag(DriveSource &drives, const QString &root);
    void updateItemHeight();

    DriveSource &m_drives;
    DriveIcons m_icons;
    QChar m_driveLetter;
    int m_itemHeight = 0;
    bool m_listCreated = false;
    QList<ListedDrive> m_listed;
    QTimer m_refresh;
};
