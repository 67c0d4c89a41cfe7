// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCollatorSortKey>
#include <QListWidgetItem>
#include <QStringList>

#include <optional>

class QCollator;

// An item of a TListView: a caption, which can be edited in place, and
// sub-items that are never shown. What an item holds besides its caption it
// keeps in members, not as item data: held as item data by each of thousands
// of items, it would take more memory than the captions. A subclass answers
// further roles from its own members the same way.
class TListViewItem : public QListWidgetItem
{
public:
    static constexpr int SubItemsRole = Qt::UserRole;

    TListViewItem(const QString &caption, QStringList subItems);

    const QStringList &subItems() const { return m_subItems; }
    QVariant data(int role) const override;

    // A sort compares collation keys, made before and dropped after it, instead of asking the
    // collator for every pair.
    void prepareSort(const QCollator &collator);
    void finishSort() { m_sortKey.reset(); }
    bool operator<(const QListWidgetItem &other) const override;

private:
    QStringList m_subItems;
    std::optional<QCollatorSortKey> m_sortKey;
};
