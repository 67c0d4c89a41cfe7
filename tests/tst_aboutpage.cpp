// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "controls/FormFonts.h"
#include "controls/TImage.h"
#include "support/Session.h"

#include <QFontMetrics>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_AboutPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsSizeFromTheirKeptEdge();
    void captionsSizeFromTheirKeptEdge_data();
    void imageShowsTheWindowsIcon();
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
    const QSize size = QFontMetrics(FormFonts::windowFont()).size(Qt::TextSingleLine, text);
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

QTEST_MAIN(tst_AboutPage)
#include "tst_aboutpage.moc"
