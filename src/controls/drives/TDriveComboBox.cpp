// SPDX-License-Identifier: GPL-3.0-or-later
#include "TDriveComboBox.h"

#include "controls/drives/DriveItemDelegate.h"
#include "controls/text/JoinedText.h"
#include "controls/text/ToolTipText.h"
#include "platform/DriveSource.h"

#include <QEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

using namespace Qt::StringLiterals;

namespace {

constexpr int IconRole = Qt::UserRole;
constexpr int ShownTextRole = Qt::UserRole + 1;
constexpr int LetterCount = 26;

// Only A to Z change, as file names are lowered in a double-byte code page;
// every other character stays as it is.
QString lowerAsciiLetters(QString text)
{
    for (QChar &c : text)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return text;
}

QChar lowerLetter(QChar letter)
{
    const QChar upper = letter.toUpper();
    return upper >= u'A' && upper <= u'Z' ? QChar(upper.unicode() + (u'a' - u'A')) : letter;
}

bool sameLetterIgnoringCase(QChar a, QChar b)
{
    return a.toUpper() == b.toUpper();
}

} // namespace

TDriveComboBox::TDriveComboBox(DriveSource &drives, const QString &name, const QRect &bounds, QWidget *parent)
    : QComboBox(parent)
    , m_drives(drives)
{
    setObjectName(name);
    setEditable(false);
    setMaxVisibleItems(DropDownCount);
    setItemDelegate(new DriveItemDelegate(this));
    const QString current = drives.currentDirectory();
    if (!current.isEmpty() && current.at(0) != u'\\')
        m_driveLetter = current.at(0);
    updateItemHeight();
    setGeometry(bounds);
    connect(this, &QComboBox::activated, this, &TDriveComboBox::userPicked);
    connect(this, &QComboBox::currentIndexChanged, this, &TDriveComboBox::describeChosenDrive);
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(RefreshDelay);
    connect(&m_refresh, &QTimer::timeout, this, &TDriveComboBox::refreshDriveList);
    // Before the list is built there is nothing to follow: building it reads the drives of the moment.
    drives.watchDrives(this, [this] {
        if (m_listCreated && !m_refresh.isActive())
            m_refresh.start();
    });
}

const QPixmap *TDriveComboBox::itemIcon(int index) const
{
    const QVariant kind = itemData(index, IconRole);
    return kind.isValid() ? &m_icons.pixmap(DriveIcons::Kind(kind.toInt())) : nullptr;
}

QString TDriveComboBox::itemShownText(int index) const
{
    const QVariant shown = itemData(index, ShownTextRole);
    return shown.isValid() ? shown.toString() : itemText(index);
}

void TDriveComboBox::updateItemHeight()
{
    m_itemHeight = qMax(fontMetrics().height(), m_icons.pixmap(DriveIcons::Floppy).height());
}

void TDriveComboBox::showEvent(QShowEvent *event)
{
    // Shown for the first time: what the system does when it creates the control's window.
    if (!m_listCreated)
        createList();
    QComboBox::showEvent(event);
}

void TDriveComboBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        updateItemHeight();
        // A new font re-creates a shown control, and with it the list.
        if (m_listCreated)
            createList();
    }
    QComboBox::changeEvent(event);
}

void TDriveComboBox::createList()
{
    m_listCreated = true;
    BuildDriveList();
    SetDriveLetter(m_driveLetter);
}

void TDriveComboBox::BuildDriveList()
{
    showDrives(listDrives());
}

void TDriveComboBox::refreshDriveList()
{
    const QList<ListedDrive> drives = listDrives();
    if (drives == m_listed)
        return;
    const bool chosen = currentIndex() >= 0;
    showDrives(drives);
    if (!chosen)
        return;
    if (const int stays = indexOfLetter(m_driveLetter); stays >= 0) {
        setCurrentIndex(stays);
        return;
    }
    const int root = indexOfLetter(u'c');
    if (root >= 0 || count() > 0)
        pickItem(root >= 0 ? root : 0);
}

QList<TDriveComboBox::ListedDrive> TDriveComboBox::listDrives() const
{
    QList<ListedDrive> drives;
    const quint32 mask = m_drives.logicalDrives();
    for (int i = 0; i < LetterCount; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const QChar letter(u'a' + i);
        if (const std::optional<Item> item = driveItem(m_drives, letter))
            drives.append({item->text.plain(), item->text.shown(), item->icon,
                           locationLines(m_drives, QString(letter) + u":\\"_s)});
    }
    return drives;
}

void TDriveComboBox::showDrives(const QList<ListedDrive> &drives)
{
    clear();
    for (const ListedDrive &drive : drives)
        addDriveItem(drive);
    m_listed = drives;
    // Adding to an empty list selects the first item; a new list has no selection.
    setCurrentIndex(-1);
}

int TDriveComboBox::indexOfLetter(QChar letter) const
{
    for (int i = 0; i < count(); ++i) {
        const QString text = itemText(i);
        if (text.size() >= 2 && sameLetterIgnoringCase(text.at(0), letter) && text.at(1) == u':')
            return i;
    }
    return -1;
}

std::optional<TDriveComboBox::Item> TDriveComboBox::driveItem(DriveSource &drives, QChar letter)
{
    const QString root = QString(letter) + u":\\"_s;
    const QString prefix = QString(letter) + u':';
    const JoinedText named = JoinedText().own(prefix + u' ');
    switch (drives.driveType(root)) {
    case DriveType::Removable:
        return Item{JoinedText().own(prefix), DriveIcons::Floppy};
    case DriveType::Fixed:
        return Item{JoinedText(named).join(volumeTag(drives, root)), DriveIcons::Hard};
    case DriveType::Remote: {
        const std::optional<QString> remote = drives.remoteName(QString(letter.toUpper()) + u':');
        return Item{remote ? JoinedText(named).outside(lowerAsciiLetters(textUntilZero(*remote)))
                           : JoinedText(named).join(volumeTag(drives, root)),
                    DriveIcons::Network};
    }
    case DriveType::CdRom:
        return Item{JoinedText(named).join(volumeTag(drives, root)), DriveIcons::CdRom};
    case DriveType::RamDisk:
        return Item{JoinedText(named).join(volumeTag(drives, root)), DriveIcons::Ram};
    default:
        return std::nullopt; // unknown or without a root directory: not a drive to offer
    }
}

void TDriveComboBox::addDriveItem(const ListedDrive &drive)
{
    addItem(drive.text, int(drive.icon));
    const int index = count() - 1;
    setItemData(index, drive.shownText, ShownTextRole);
    if (drive.location.isEmpty())
        return;
    setItemData(index, ToolTipText::fromLines(drive.location), Qt::ToolTipRole);
    setItemData(index, JoinedText::withVisibleControls(drive.location.join(u", "_s)), Qt::AccessibleDescriptionRole);
}

QString TDriveComboBox::itemToolTip(int index) const
{
    return ToolTipText::plainText(itemData(index, Qt::ToolTipRole).toString());
}

void TDriveComboBox::describeChosenDrive()
{
    const int index = currentIndex();
    setToolTip(index >= 0 ? itemData(index, Qt::ToolTipRole).toString() : QString());
    setAccessibleDescription(index >= 0 ? itemData(index, Qt::AccessibleDescriptionRole).toString() : QString());
}

QStringList TDriveComboBox::locationLines(DriveSource &drives, const QString &root)
{
    const std::optional<DriveLocation> location = drives.location(root);
    if (!location)
        return {};
    QStringList lines{tr("挂载点: ") + location->mountPoint};
    if (!location->device.isEmpty())
        lines.append(tr("设备: ") + location->device);
    return lines;
}

JoinedText TDriveComboBox::volumeTag(DriveSource &drives, const QString &root)
{
    const std::optional<VolumeInformation> volume = drives.volumeInformation(root);
    const QString label = volume ? textUntilZero(volume->volumeName) : QString();
    return JoinedText().own(u"["_s).outside(lowerAsciiLetters(label)).own(u"]"_s);
}

void TDriveComboBox::SetDriveLetter(QChar letter)
{
    if (currentIndex() >= 0 && sameLetterIgnoringCase(letter, m_driveLetter))
        return;
    if (letter.isNull()) {
        m_driveLetter = QChar();
        setCurrentIndex(-1);
    } else {
        m_driveLetter = lowerLetter(letter);
        if (const int index = indexOfLetter(m_driveLetter); index >= 0)
            setCurrentIndex(index);
    }
    Q_EMIT changed();
}

void TDriveComboBox::pickItem(int index)
{
    // What the drop-down does on a pick: select the item, then report it.
    setCurrentIndex(index);
    Q_EMIT activated(index);
}

void TDriveComboBox::userPicked(int index)
{
    const QString text = itemText(index);
    SetDriveLetter(text.isEmpty() ? QChar() : text.at(0));
    Q_EMIT changed();
}

void TDriveComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int index = currentIndex();
    DriveItemDelegate::paintItem(&painter, field, index >= 0 ? itemShownText(index) : QString(),
                                 index >= 0 ? itemIcon(index) : nullptr, hasFocus(), hasFocus(), this);
}
