// SPDX-License-Identifier: GPL-3.0-or-later
#include "TListView.h"

#include "WholeFrame.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPixmap>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>
#include <QTextLayout>

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
        // The icon, alignment and size, the same for every item, come from the
        // delegate: held by each of thousands of items they would take more
        // memory than the captions.
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
    std::optional<QCollatorSortKey> m_sortKey;
};

// A caption cut to the lines its cell has room for, the last of them ending in
// an ellipsis when the caption goes on: the style would draw a line of which
// more than half shows, cut through under the line above.
QString captionThatFits(QString caption, const QFont &font, QSizeF room)
{
    // Line feeds break lines, as the style has them do.
    caption.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(caption, font);
    layout.setTextOption(QTextOption(Qt::AlignHCenter));
    layout.beginLayout();
    QStringList lines;
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room.width());
        height += line.height();
        if (height > room.height() && !lines.isEmpty()) {
            const QString rest = caption.mid(line.textStart());
            lines.last() = QFontMetricsF(font).elidedText(lines.last() + rest, Qt::ElideRight, room.width());
            break;
        }
        lines.append(caption.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines.join(QChar::LineSeparator);
}

// Draws every item as a large-icon cell: an empty icon area (no image list is
// attached) above the caption, centred, in the lines that fit the cell. Every
// cell is the same size, so laying out thousands of items needs no measuring
// of their captions. Shows the selection only while the list has the focus.
class CaptionDelegate final : public QStyledItemDelegate
{
public:
    explicit CaptionDelegate(QAbstractItemView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return CellSize; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shown(option);
        if (!m_view->hasFocus())
            shown.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, shown, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = emptyIcon();
        option->decorationSize = option->decorationSize.boundedTo(LargeIconSize);
        if (option->rect.isEmpty() || option->text.isEmpty())
            return;
        const QStyle *style = m_view->style();
        // Where the style draws the caption, less the margins it keeps on either side.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1;
        const QRect room =
            style->subElementRect(QStyle::SE_ItemViewItemText, option, m_view).adjusted(margin, 0, -margin, 0);
        option->text = captionThatFits(option->text, option->font, room.size());
    }

private:
    static const QIcon &emptyIcon()
    {
        static const QIcon icon = [] {
            QPixmap blank(LargeIconSize);
            blank.fill(Qt::transparent);
            return QIcon(blank);
        }();
        return icon;
    }

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
    setItemDelegate(new CaptionDelegate(this));
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
