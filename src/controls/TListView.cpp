#include "TListView.h"

#include <QCollator>

#include <algorithm>

namespace {
constexpr int SubItemsRole = Qt::UserRole;
}

TListView::TListView(const QString &name, const QRect &bounds, QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(name);
    setGeometry(bounds);
    setViewMode(QListView::IconMode);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setWordWrap(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setIconSize(QSize(32, 32));
    setGridSize(QSize(75, 66));
}

void TListView::addItem(const QString &caption, const QStringList &subItems)
{
    auto *item = new QListWidgetItem(caption, this);
    item->setData(SubItemsRole, subItems);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

QList<TListView::Item> TListView::viewItems() const
{
    QList<Item> result;
    for (int i = 0; i < count(); ++i)
        result.append({item(i)->text(), item(i)->data(SubItemsRole).toStringList()});
    return result;
}

void TListView::sortByCaption(const QCollator &collator)
{
    QList<QListWidgetItem *> taken;
    while (count() > 0)
        taken.append(takeItem(0));
    std::stable_sort(taken.begin(), taken.end(), [&](const QListWidgetItem *a, const QListWidgetItem *b) {
        return collator.compare(a->text(), b->text()) < 0;
    });
    for (QListWidgetItem *item : std::as_const(taken))
        QListWidget::addItem(item);
}
