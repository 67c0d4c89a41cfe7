// Drawing at the screen's density. This program runs on a screen of two device
// pixels per pixel; list frames at other densities are checked in pictures the
// snapshot tool makes.
#include "app/UnitFormMain.h"
#include "controls/DriveIcons.h"
#include "controls/DriveItemDelegate.h"
#include "controls/TImage.h"
#include "controls/TPaintBox.h"
#include "support/Session.h"

#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

// 2 x 2 blocks of device pixels that hold more than one colour: none in a
// picture drawn for one device pixel per pixel and stretched.
int mixedBlocks(const QImage &image, const QRect &area)
{
    int mixed = 0;
    for (int y = area.top(); y + 1 <= area.bottom(); y += 2)
        for (int x = area.left(); x + 1 <= area.right(); x += 2) {
            const QRgb first = image.pixel(x, y);
            if (image.pixel(x + 1, y) != first || image.pixel(x, y + 1) != first || image.pixel(x + 1, y + 1) != first)
                ++mixed;
        }
    return mixed;
}

QImage shown(QWidget *widget, const QRect &area = {})
{
    return widget->grab(area.isNull() ? widget->rect() : area).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_ScreenImage : public QObject
{
    Q_OBJECT

public:
    static void initMain() { qputenv("QT_SCALE_FACTOR", "2"); }

private Q_SLOTS:
    void reportIsDrawnWithTheScreensPixels();
    void graphLinesAreDrawnWithTheScreensPixels();
    void driveIconsStaySharp();
    void listFramesAreWhole_data();
    void listFramesAreWhole();
};

void tst_ScreenImage::reportIsDrawnWithTheScreensPixels()
{
    Session session;
    session.wait(50);
    auto *image = session->window().findChild<TImage *>(u"Img_Info"_s);
    const QImage picture = image->picture().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.devicePixelRatio(), 2.0);
    QCOMPARE(picture.size(), QSize(690, 642));
    QVERIFY(mixedBlocks(picture, picture.rect()) > 100);
    // Shown pixel for pixel.
    QCOMPARE(shown(image), picture);
    QCOMPARE(session.control(u"Img_Info"_s)[u"runs"_s][1][u"y"_s].toInt(), 18); // the state keeps the window's pixels
}

void tst_ScreenImage::graphLinesAreDrawnWithTheScreensPixels()
{
    Session session; // no memory figures: the graph tick draws nothing of its own
    session.page(1);
    auto *box = session->window().findChild<TPaintBox *>(u"PaintBox1"_s);
    box->moveTo({0, 10});
    box->lineTo({40, 10});
    box->moveTo({100, 0});
    box->lineTo({140, 80});
    box->moveTo({200, 89});
    box->lineTo({300, 89});
    const QImage graph = shown(box->parentWidget(), box->geometry());
    QCOMPARE(graph.size(), QSize(626, 178));
    const QRgb white = qRgb(255, 255, 255);
    // Row 10 covers device rows 20 and 21, no more.
    for (int x = 0; x < 80; ++x) {
        QCOMPARE(graph.pixel(x, 20), white);
        QCOMPARE(graph.pixel(x, 21), white);
    }
    QVERIFY(graph.pixel(10, 19) != white && graph.pixel(10, 22) != white);
    // A slope steps by device pixels.
    QVERIFY(mixedBlocks(graph, QRect(200, 0, 82, 162)) > 20);
    // Row 89 lies below the surface's last row, as on any screen.
    for (int x = 400; x < 600; ++x)
        QVERIFY(graph.pixel(x, 176) != white && graph.pixel(x, 177) != white);
}

void tst_ScreenImage::driveIconsStaySharp()
{
    const DriveIcons icons;
    QWidget widget;
    QImage image(200, 40, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform); // as a widget's painter has it
        DriveItemDelegate::paintItem(&painter, QRect(0, 3, 100, 14), u"c: [system]"_s, &icons.pixmap(DriveIcons::Hard),
                                     false, false, &widget);
    }
    // Each pixel of the picture fills the 2 x 2 device pixels it covers, at (2, 4).
    const QImage picture = DriveIcons::picture(DriveIcons::Hard);
    const QRgb base = widget.palette().color(QPalette::Base).rgb();
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb expected = picture.pixel(x, y) == picture.pixel(0, 10) ? base : picture.pixel(x, y);
            for (int d = 0; d < 4; ++d)
                QCOMPARE(image.pixel(4 + 2 * x + d % 2, 8 + 2 * y + d / 2), expected);
        }
}

void tst_ScreenImage::listFramesAreWhole_data()
{
    QTest::addColumn<QString>("scale");
    QTest::newRow("1.25") << u"1.25"_s;
    QTest::newRow("1.5") << u"1.5"_s;
    QTest::newRow("2") << u"2"_s;
}

// Each edge of each list keeps a pixel of the frame's colour where the
// window's pixel for that edge lies.
void tst_ScreenImage::listFramesAreWhole()
{
    QFETCH(QString, scale);
    Session session;
    session.page(3);
    TFormMain &window = session->window();
    QTemporaryDir out;
    QFile steps(out.filePath(u"steps.json"_s));
    QVERIFY(steps.open(QIODevice::WriteOnly) && steps.write(R"([{"page": 3}, {"shot": "system"}])") > 0);
    steps.close();
    QFile plainMachine(out.filePath(u"machine.json"_s));
    QVERIFY(plainMachine.open(QIODevice::WriteOnly) && plainMachine.write("{}") > 0);
    plainMachine.close();
    QProcess snapshot;
    snapshot.start(QString::fromUtf8(PELZORA_SNAPSHOT),
                   {u"--scale"_s, scale, u"--fixture"_s, plainMachine.fileName(), u"--steps"_s, steps.fileName(),
                    u"--out"_s, out.path()});
    QVERIFY(snapshot.waitForFinished(60000));
    QCOMPARE(snapshot.exitCode(), 0);
    const QImage picture(out.filePath(u"system.png"_s));
    const double ratio = scale.toDouble();

    // On this screen of whole density, the style draws its own frame whole.
    const QImage here = shown(&window);
    for (const char *name : {"ListBox1", "ListView1"}) {
        const auto *list = window.findChild<QWidget *>(QString::fromLatin1(name));
        const QRect frame(list->mapTo(&window, QPoint(0, 0)), list->size());
        const QPoint middle = frame.center();
        const QRgb color = here.pixel(2 * frame.left(), 2 * middle.y());
        // The device pixels covering the window's pixel (x, y).
        const auto holdsFrame = [&](int x, int y) {
            for (int dy = int(y * ratio); dy < qCeil((y + 1) * ratio); ++dy)
                for (int dx = int(x * ratio); dx < qCeil((x + 1) * ratio); ++dx)
                    if (picture.pixel(dx, dy) == color)
                        return true;
            return false;
        };
        QVERIFY2(holdsFrame(frame.left(), middle.y()), name);
        QVERIFY2(holdsFrame(frame.right(), middle.y()), name);
        QVERIFY2(holdsFrame(middle.x(), frame.top()), name);
        QVERIFY2(holdsFrame(middle.x(), frame.bottom()), name);
    }
}

QTEST_MAIN(tst_ScreenImage)
#include "tst_screenimage.moc"
