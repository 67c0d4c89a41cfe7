// SPDX-License-Identifier: GPL-3.0-or-later
// The smallest Qt program that shows a window and keeps a 10 ms timer running.
// With PELZORA_QUIT_AFTER_FIRST_PAINT set it quits once the window is painted,
// as Pelzora does, so both can be timed from start to first paint.
// With BARE_WINDOW_TABS set it also shows Pelzora's seven tab captions in a tab
// bar, in the same font: the least any window that shows Pelzora's first
// screen of text loads (fontconfig, the Latin and the Chinese font).
#include <QApplication>
#include <QPaintEvent>
#include <QTabBar>
#include <QTimer>
#include <QWidget>

namespace {

class BareWindow : public QWidget
{
public:
    BareWindow()
    {
        setFixedSize(369, 377);
        connect(&m_timer, &QTimer::timeout, this, [] {});
        m_timer.start(10);
        if (qEnvironmentVariableIsSet("BARE_WINDOW_TABS"))
            addTabs();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (qEnvironmentVariableIsSet("PELZORA_QUIT_AFTER_FIRST_PAINT"))
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
    void addTabs()
    {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(11);
        setFont(font);
        auto *tabs = new QTabBar(this);
        for (const char16_t *caption : {u"处理器", u"内存", u"硬盘", u"系统", u"打印机", u"其他", u"关于"})
            tabs->addTab(QString::fromUtf16(caption));
        tabs->setGeometry(2, 0, width() - 4, tabs->sizeHint().height());
    }

    QTimer m_timer;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    BareWindow window;
    window.show();
    return QApplication::exec();
}
