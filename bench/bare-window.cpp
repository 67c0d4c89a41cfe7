// The smallest Qt program that shows a window and keeps a 10 ms timer running.
// With PELZORA_QUIT_AFTER_FIRST_PAINT set it quits once the window is painted,
// as Pelzora does, so both can be timed from start to first paint.
#include <QApplication>
#include <QPaintEvent>
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
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (qEnvironmentVariableIsSet("PELZORA_QUIT_AFTER_FIRST_PAINT"))
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
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
