// SPDX-License-Identifier: GPL-3.0-or-later
#include "TDriveComboBox.h"

#include "DriveItemDelegate.h"
#include "JoinedText.h"
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
    clear();
    const quint32 mask = m_drives.logicalDrives();
    for (int i = 0; i < LetterCount; ++i)
        if (mask & (1u << i))
            addDrive(QChar(u'a' + i));
    // Adding to an empty list selects the first item; a new list has no selection.
    setCurrentIndex(-1);
}

void TDriveComboBox::addDrive(QChar letter)
{
    if (const std::optional<Item> item = driveItem(m_drives, letter))
        addDriveItem(item->text, item->icon);
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

void TDriveComboBox::addDriveItem(const JoinedText &text, DriveIcons::Kind icon)
{
    addItem(text.plain(), int(icon));
    setItemData(count() - 1, text.shown(), ShownTextRole);
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
        for (int i = 0; i < count(); ++i) {
            const QString text = itemText(i);
            if (text.size() >= 2 && sameLetterIgnoringCase(text.at(0), m_driveLetter) && text.at(1) == u':') {
                setCurrentIndex(i);
                break;
            }
        }
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
