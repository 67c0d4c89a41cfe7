// SPDX-License-Identifier: GPL-3.0-or-later
#include "TListViewItem.h"

#include <QCollator>

TListViewItem::TListViewItem(const QString &caption, QStringList subItems)
    : QListWidgetItem(caption)
    , m_subItems(std::move(subItems))
{
    setFlags(flags() | Qt::ItemIsEditable);
    // The icon, alignment and size, the same for every item, come from the list's delegate.
}

QVariant TListViewItem::data(int role) const
{
    if (role == SubItemsRole)
        return m_subItems;
    return QListWidgetItem::data(role);
}

void TListViewItem::prepareSort(const QCollator &collator)
{
    m_sortKey = collator.sortKey(text());
}

bool TListViewItem::operator<(const QListWidgetItem &other) const
{
    const auto *item = dynamic_cast<const TListViewItem *>(&other);
    if (item == nullptr || !m_sortKey || !item->m_sortKey)
        return QListWidgetItem::operator<(other);
    return m_sortKey->compare(*item->m_sortKey) < 0;
}
