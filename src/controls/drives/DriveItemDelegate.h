// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

class TDriveComboBox;

// Draws the drive selector's items in its drop-down list, each with its icon.
class DriveItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit DriveItemDelegate(TDriveComboBox *selector);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // One item: background, icon (nullptr: none), text and focus frame. With
    // an empty text and no icon only the background and the focus frame are drawn.
    static void paintItem(QPainter *painter, const QRect &rect, const QString &text, const QPixmap *icon, bool selected,
                          bool focused, const QWidget *widget);

private:
    TDriveComboBox *m_selector;
};
