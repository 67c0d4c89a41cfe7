// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QStackedWidget;
class QTabBar;

// A row of tabs over a stack of pages. Each page's client area starts at a
// fixed place inside the notebook, whatever the tabs look like.
class TTabbedNotebook : public QWidget
{
    Q_OBJECT

public:
    static constexpr QPoint PageOrigin{4, 25};

    TTabbedNotebook(const QString &name, const QRect &bounds, QWidget *parent);

    // Adds a page after the others and names it "pageN".
    void addPage(QWidget *page, const QString &caption);
    QWidget *page(int index) const;
    int pageCount() const;

    QString tabText(int index) const;
    // Changes the tab's caption; the shown page stays.
    void setTabText(int index, const QString &caption);

    int pageIndex() const;
    // Shows another page, as a click on its tab does.
    void setPageIndex(int index);

Q_SIGNALS:
    // A real change of page, before the new page is shown.
    void pageChanging(int newIndex);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showPage(int index);

    QTabBar *m_tabs;
    QStackedWidget *m_pages;
};
