// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveItemDelegate.h"

#include "controls/drives/TDriveComboBox.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace {

constexpr int IconLeftMargin = 2;
constexpr int TextGap = 6;
constexpr int DefaultIconWidth = 16;

} // namespace

DriveItemDelegate::DriveItemDelegate(TDriveComboBox *selector)
    : QStyledItemDelegate(selector)
    , m_selector(selector)
{
}

void DriveItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    paintItem(painter, option.rect, m_selector->itemShownText(index.row()), m_selector->itemIcon(index.row()),
              option.state.testFlag(QStyle::State_Selected), option.state.testFlag(QStyle::State_HasFocus),
              option.widget);
}

QSize DriveItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), m_selector->ItemHeight()};
}

void DriveItemDelegate::paintItem(QPainter *painter, const QRect &rect, const QString &text, const QPixmap *icon,
                                  bool selected, bool focused, const QWidget *widget)
{
    const QPalette &palette = widget->palette();
    const QColor background = palette.color(selected ? QPalette::Highlight : QPalette::Base);
    painter->save();
    painter->fillRect(rect, background);
    if (icon || !text.isEmpty()) {
        int iconWidth = DefaultIconWidth;
        if (icon) {
            // The pixmap leaves its transparent colour out, so the background shows there.
            const int top = (rect.top() + rect.top() + rect.height() - icon->height()) / 2;
            painter->drawPixmap(rect.left() + IconLeftMargin, top,
                                DriveIcons::atRatio(*icon, painter->device()->devicePixelRatioF()));
            iconWidth = icon->width();
        }
        QRect textRect = rect;
        textRect.setLeft(rect.left() + iconWidth + TextGap);
        painter->save();
        painter->setClipRect(textRect, Qt::IntersectClip);
        painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }
    if (focused) {
        QStyleOptionFocusRect frame;
        frame.initFrom(widget);
        frame.rect = rect;
        frame.backgroundColor = background;
        widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, widget);
    }
    painter->restore();
}
