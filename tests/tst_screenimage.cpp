// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing at the screen's density: this program runs on a screen of two device
// pixels per pixel.
#include "app/UnitFormMain.h"
#include "controls/drawing/TImage.h"
#include "controls/drawing/TPaintBox.h"
#include "support/Session.h"

#include <QTest>

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
};

void tst_ScreenImage::reportIsDrawnWithTheScreensPixels()
{
    Session session;
    session.wait(50);
    auto *image = session->window().findChild<TImage *>(u"Img_Info"_s);
    // The report is drawn as it is painted, with the screen's device pixels.
    const QImage picture = shown(image);
    QCOMPARE(picture.size(), QSize(690, 642));
    QVERIFY(mixedBlocks(picture, picture.rect()) > 100);
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

QTEST_MAIN(tst_ScreenImage)
#include "tst_screenimage.moc"
