// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

class QCollator;

// A list of items shown as large-icon cells with their captions beneath,
// arranged automatically. Each item holds sub-items that are never shown.
// Captions can be edited in place; the selection shows only while the list
// has the focus.
class TListView : public QListWidget
{
    Q_OBJECT

public:
    struct Item
    {
        QString caption;
        QStringList subItems;
    };

    TListView(const QString &name, const QRect &bounds, QWidget *parent);

    // Between these the list does not redraw; the last endUpdate() redraws it once.
    void beginUpdate();
    void endUpdate();

    void addItem(const QString &caption, const QStringList &subItems);
    QList<Item> viewItems() const;
    // Orders the items by caption with the collator; equal captions keep no particular order.
    void sortByCaption(const QCollator &collator);

protected:
    bool event(QEvent *event) override;

private:
    int m_updateDepth = 0;
};
