// SPDX-License-Identifier: GPL-3.0-or-later
#include "TListBox.h"

#include "controls/drawing/WholeFrame.h"
#include "platform/Failure.h"

#include <QEvent>
#include <QStyleOptionFrame>

#include <limits>

using namespace Qt::StringLiterals;

TListBox::TListBox(const QString &name, const QRect &bounds, QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(name);
    setGeometry(bounds);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QStringList TListBox::lines() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result.append(item(i)->text());
    return result;
}

void TListBox::appendLine(const QString &line)
{
    if (count() == std::numeric_limits<int>::max())
        throw Failure(u"Unable to insert a line"_s);
    auto *item = new QListWidgetItem(line, this);
    item->setSizeHint(QSize(0, ItemHeight));
}

void TListBox::setLines(const QStringList &lines)
{
    clear();
    for (const QString &line : lines)
        appendLine(line);
}

// The list's own paint events paint its frame; its items are painted by the viewport's.
bool TListBox::event(QEvent *event)
{
    const bool handled = QListWidget::event(event);
    if (event->type() == QEvent::Paint) {
        QStyleOptionFrame option;
        initStyleOption(&option);
        paintWholeFrame(*this, option);
    }
    return handled;
}
