// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

#include <functional>

class QCollator;
class TListViewItem;

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

    void addItem(TListViewItem *item);
    // Removes every item, and the sort still to come with them.
    void clear();
    // The items in their order, sorted as asked.
    QList<Item> viewItems() const;
    // Orders the items by caption with the collator; equal captions keep no particular order.
    void sortByCaption(const QCollator &collator);
    // The same, for a list that nobody sees yet: sorted when it is first shown, its items are
    // read or an assistive tool asks for it, so that a list never shown never loads the collator
    // (ICU's collation code and data, two megabytes resident). At once when it is shown now.
    void sortByCaptionWhenSeen(std::function<QCollator()> collator);
    // Sorts now, if a sort is still to come.
    void finishSort() const;

protected:
    bool event(QEvent *event) override;

private:
    int m_updateDepth = 0;
    // Holding it does not change what the list stands for, only when its items are put in that order.
    mutable std::function<QCollator()> m_pendingSort;
};
