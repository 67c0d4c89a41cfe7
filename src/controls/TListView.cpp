#include "TListView.h"

#include "WholeFrame.h"

#include <QCollator>
#include <QCoreApplication>
#include <QPixmap>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>

#include <optional>

namespace {

constexpr int SubItemsRole = Qt::UserRole;
constexpr QSize LargeIconSize(32, 32);
constexpr QSize CellSize(75, 66);

// An item that sorts by a collation key, so that a sort compares bytes
// instead of asking the collator for every pair.
class CaptionItem final : public QListWidgetItem
{
public:
    CaptionItem(const QString &caption, const QStringList &subItems)
        : QListWidgetItem(caption)
    {
        setData(SubItemsRole, subItems);
        setFlags(flags() | Qt::ItemIsEditable);
        setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        setIcon(emptyIcon());
        // Every cell is the same size: laying out thousands of items then
        // needs no measuring of their captions.
        setSizeHint(CellSize);
    }

    void prepareSort(const QCollator &collator) { m_sortKey = collator.sortKey(text()); }
    void finishSort() { m_sortKey.reset(); }

    bool operator<(const QListWidgetItem &other) const override
    {
        const auto *item = dynamic_cast<const CaptionItem *>(&other);
        if (item == nullptr || !m_sortKey || !item->m_sortKey)
            return QListWidgetItem::operator<(other);
        return m_sortKey->compare(*item->m_sortKey) < 0;
    }

private:
    // No image list is attached: each cell keeps an empty icon area above its caption.
    static QIcon emptyIcon()
    {
        static const QIcon icon = [] {
            QPixmap blank(LargeIconSize);
            blank.fill(Qt::transparent);
            return QIcon(blank);
        }();
        return icon;
    }

    std::optional<QCollatorSortKey> m_sortKey;
};

// Shows the selection only while the list has the focus.
class FocusedSelectionDelegate final : public QStyledItemDelegate
{
public:
    explicit FocusedSelectionDelegate(QAbstractItemView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shown(option);
        if (!m_view->hasFocus())
            shown.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, shown, index);
    }

private:
    QAbstractItemView *m_view;
};

} // namespace

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
    setIconSize(LargeIconSize);
    setGridSize(CellSize);
    setItemDelegate(new FocusedSelectionDelegate(this));
}

void TListView::beginUpdate()
{
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
}

void TListView::endUpdate()
{
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    if (isVisible()) {
        // Lay the items out now, and let the scroll bar that layout shows or
        // hides (a queued call) resize the viewport now too, so that the list
        // is drawn once, finished.
        executeDelayedItemsLayout();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        executeDelayedItemsLayout();
    }
    setUpdatesEnabled(true);
}

void TListView::addItem(const QString &caption, const QStringList &subItems)
{
    QListWidget::addItem(new CaptionItem(caption, subItems));
}

QList<TListView::Item> TListView::viewItems() const
{
    QList<Item> result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result.append({item(i)->text(), item(i)->data(SubItemsRole).toStringList()});
    return result;
}

void TListView::sortByCaption(const QCollator &collator)
{
    const auto forEachItem = [this](auto &&step) {
        for (int i = 0; i < count(); ++i)
            if (auto *captionItem = dynamic_cast<CaptionItem *>(item(i)))
                step(*captionItem);
    };
    forEachItem([&](CaptionItem &captionItem) { captionItem.prepareSort(collator); });
    sortItems(Qt::AscendingOrder);
    forEachItem([](CaptionItem &captionItem) { captionItem.finishSort(); });
}

// The list's own paint events paint its frame; its items are painted by the viewport's.
bool TListView::event(QEvent *event)
{
    const bool handled = QListWidget::event(event);
    if (event->type() == QEvent::Paint) {
        QStyleOptionFrame option;
        initStyleOption(&option);
        paintWholeFrame(*this, option);
    }
    return handled;
}
