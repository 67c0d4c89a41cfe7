// SPDX-License-Identifier: GPL-3.0-or-later
#include "TTabbedNotebook.h"

#include "controls/OneRowTabBar.h"

#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

TTabbedNotebook::TTabbedNotebook(const QString &name, const QRect &bounds, QWidget *parent)
    : QWidget(parent)
    , m_tabs(new OneRowTabBar(this))
    , m_pages(new QStackedWidget(this))
{
    setObjectName(name);
    setGeometry(bounds);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_pages->setGeometry(PageOrigin.x(), PageOrigin.y(), width() - 2 * PageOrigin.x(),
                         height() - PageOrigin.y() - PageOrigin.x());
    connect(m_tabs, &QTabBar::currentChanged, this, &TTabbedNotebook::showPage);
}

void TTabbedNotebook::addPage(QWidget *page, const QString &caption)
{
    page->setObjectName(QStringLiteral("page%1").arg(m_pages->count()));
    {
        // The first page added becomes current without being a change of page.
        const QSignalBlocker blocker(m_tabs);
        m_tabs->addTab(caption);
    }
    m_pages->addWidget(page);
    // Only the shown page follows the stack's size; the others take it now, so that what stands on
    // them knows its room before they are first shown.
    page->setGeometry(m_pages->rect());
    const int tabHeight = m_tabs->sizeHint().height();
    m_tabs->setGeometry(2, PageOrigin.y() - tabHeight + 2, width() - 4, tabHeight);
}

QWidget *TTabbedNotebook::page(int index) const
{
    return m_pages->widget(index);
}

int TTabbedNotebook::pageCount() const
{
    return m_pages->count();
}

QString TTabbedNotebook::tabText(int index) const
{
    return m_tabs->tabText(index);
}

void TTabbedNotebook::setTabText(int index, const QString &caption)
{
    m_tabs->setTabText(index, caption);
    // A reader names the page as its tab.
    if (QWidget *shown = page(index))
        shown->setAccessibleName(caption);
}

int TTabbedNotebook::pageIndex() const
{
    return m_pages->currentIndex();
}

void TTabbedNotebook::setPageIndex(int index)
{
    m_tabs->setCurrentIndex(index);
}

void TTabbedNotebook::showPage(int index)
{
    if (index == m_pages->currentIndex())
        return;
    Q_EMIT pageChanging(index);
    m_pages->setCurrentIndex(index);
}

void TTabbedNotebook::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, m_tabs->geometry().bottom() - 1, width(), height() - m_tabs->geometry().bottom() + 1);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarRect = m_tabs->geometry();
    frame.selectedTabRect = m_tabs->tabRect(m_tabs->currentIndex()).translated(m_tabs->pos());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
