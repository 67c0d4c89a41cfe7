// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "controls/drawing/TImage.h"
#include "controls/text/FormFonts.h"
#include "support/Session.h"

#include <QFile>
#include <QFontMetrics>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_AboutPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsSizeFromTheirKeptEdge();
    void captionsSizeFromTheirKeptEdge_data();
    void imageShowsTheWindowsIcon();
    void iconIsDrawnAtTheScreensDensity();
};

void tst_AboutPage::captionsSizeFromTheirKeptEdge_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("edge"); // the left edge, or the right edge of a right-justified label
    QTest::newRow("LabVer") << u"LabVer"_s << u"(Ver 2.5)"_s << 144;
    QTest::newRow("Label37") << u"Label37"_s << u"主页:"_s << 95;
    QTest::newRow("Label38") << u"Label38"_s << u"邮箱:"_s << 96;
    QTest::newRow("UrlLabel1") << u"UrlLabel1"_s << u"https://pelzora.org/"_s << 112;
}

void tst_AboutPage::captionsSizeFromTheirKeptEdge()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, edge);
    Session session;
    const QJsonObject control = session.control(name);
    QCOMPARE(control.value(u"text"_s).toString(), text);
    const QJsonArray g = control.value(u"geometry"_s).toArray();
    // As wide as the text, as high as the form's lines of the window's font.
    const QSize size(QFontMetrics(FormFonts::windowFont()).size(Qt::TextSingleLine, text).width(), 14);
    QCOMPARE(QSize(g.at(2).toInt(), g.at(3).toInt()), size);
    const bool right = control.value(u"alignment"_s).toString() == u"right"_s;
    QCOMPARE(right ? g.at(0).toInt() + size.width() : g.at(0).toInt(), edge);
}

void tst_AboutPage::imageShowsTheWindowsIcon()
{
    Session session;
    const QIcon icon = session->window().windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    const QImage picture = session->window().findChild<TImage *>(u"Image1"_s)->picture();
    QCOMPARE(picture.convertToFormat(QImage::Format_ARGB32),
             icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32));
}

// On a screen of two pixels to a point, the 64-pixel image is drawn, pixel for pixel.
void tst_AboutPage::iconIsDrawnAtTheScreensDensity()
{
    QTemporaryDir dir;
    const auto write = [&dir](const QString &name, const QByteArray &text) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    };
    QProcess snapshot;
    snapshot.start(QString::fromUtf8(PELZORA_SNAPSHOT),
                   {u"--scale"_s, u"2"_s, u"--fixture"_s, write(u"machine.json"_s, "{}"), u"--steps"_s,
                    write(u"steps.json"_s, R"([{"page": 6}, {"wait": 50}, {"shot": "about"}])"), u"--out"_s,
                    dir.path()});
    QVERIFY(snapshot.waitForFinished(60000));
    QCOMPARE(snapshot.exitCode(), 0);
    const QPoint icon = (TTabbedNotebook::PageOrigin + QPoint(144, 24)) * 2;
    const QImage shown = QImage(dir.filePath(u"about.png"_s)).copy(QRect(icon, QSize(64, 64)));
    const QImage dense = QImage(u":/icons/pelzora-64.png"_s).convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (qAlpha(dense.pixel(x, y)) == 255) {
                ++opaque;
                QCOMPARE(shown.pixel(x, y) | 0xFF000000u, dense.pixel(x, y));
            }
    QVERIFY(opaque > 64 * 48);
}

QTEST_MAIN(tst_AboutPage)
#include "tst_aboutpage.moc"
