// SPDX-License-Identifier: GPL-3.0-or-later
#include "TListView.h"

#include "controls/drawing/WholeFrame.h"
#include "controls/lists/TListViewItem.h"

#include <QAccessible>
#include <QApplication>
#include <QCollator>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPixmap>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace {

constexpr QSize LargeIconSize(32, 32);
constexpr QSize CellSize(75, 66);

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

// Whether an assistive tool may read the lists. QAccessible::isActive() tells what the platform's
// bridge to screen readers says; accessibility switched on in the process itself (by a tool inside
// it, as the bridge also does when a reader starts) reaches only the activation observers. Qt's
// own interface for a list reads its items as they stand, so a sort still to come is made then.
class ToolsListening final : public QAccessible::ActivationObserver
{
public:
    void accessibilityActiveChanged(bool active) override
    {
        m_active = active;
        if (!active || QApplication::instance() == nullptr)
            return;
        for (QWidget *widget : QApplication::allWidgets())
            if (const auto *list = qobject_cast<const TListView *>(widget))
                list->finishSort();
    }

    bool active() const { return m_active || QAccessible::isActive(); }

private:
    bool m_active = false;
};

// Installed as the program loads, so that it also hears of accessibility switched on before any
// window exists; never removed, as the observers' list outlives the program's own objects.
ToolsListening *const toolsListening = [] {
    auto *observer = new ToolsListening;
    QAccessible::installActivationObserver(observer);
    return observer;
}();

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

void TListView::addItem(TListViewItem *item)
{
    QListWidget::addItem(item);
}

void TListView::clear()
{
    m_pendingSort = nullptr;
    QListWidget::clear();
}

QList<TListView::Item> TListView::viewItems() const
{
    finishSort();
    QList<Item> result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result.append({item(i)->text(), item(i)->data(TListViewItem::SubItemsRole).toStringList()});
    return result;
}

void TListView::sortByCaption(const QCollator &collator)
{
    m_pendingSort = nullptr;
    const auto forEachItem = [this](auto &&step) {
        for (int i = 0; i < count(); ++i)
            if (auto *viewItem = dynamic_cast<TListViewItem *>(item(i)))
                step(*viewItem);
    };
    forEachItem([&](TListViewItem &viewItem) { viewItem.prepareSort(collator); });
    sortItems(Qt::AscendingOrder);
    forEachItem([](TListViewItem &viewItem) { viewItem.finishSort(); });
}

void TListView::sortByCaptionWhenSeen(std::function<QCollator()> collator)
{
    m_pendingSort = std::move(collator);
    if (isVisible() || toolsListening->active())
        finishSort();
}

void TListView::finishSort() const
{
    // Sorting puts in place the order the list already stands for: nothing seen changes.
    if (const std::function<QCollator()> collator = std::exchange(m_pendingSort, nullptr))
        const_cast<TListView *>(this)->sortByCaption(collator());
}

// The list's own paint events paint its frame; its items are painted by the viewport's.
bool TListView::event(QEvent *event)
{
    if (event->type() == QEvent::Show)
        finishSort();
    const bool handled = QListWidget::event(event);
    if (event->type() == QEvent::Paint) {
        QStyleOptionFrame option;
        initStyleOption(&option);
        paintWholeFrame(*this, option);
    }
    return handled;
}
