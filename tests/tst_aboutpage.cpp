#include "app/UnitFormMain.h"
#include "controls/FormFonts.h"
#include "controls/TImage.h"
#include "support/Session.h"

#include <QFontMetrics>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QRect geometryOf(const Session &session, const QString &name)
{
    const QJsonArray g = session.control(name).value(u"geometry"_s).toArray();
    return {g.at(0).toInt(), g.at(1).toInt(), g.at(2).toInt(), g.at(3).toInt()};
}

} // namespace

class tst_AboutPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsSizeFromTheirKeptEdge();
    void captionsSizeFromTheirKeptEdge_data();
    void titleIsBold();
    void imageShowsTheWindowsIcon();
};

void tst_AboutPage::captionsSizeFromTheirKeptEdge_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("left");    // -1: right-justified
    QTest::addColumn<int>("right");   // -1: left-justified
    QTest::newRow("LabVer") << u"LabVer"_s << u"(Ver 2.5)"_s << 144 << -1;
    QTest::newRow("Label37") << u"Label37"_s << u"主页:"_s << -1 << 95;
    QTest::newRow("Label38") << u"Label38"_s << u"邮箱:"_s << -1 << 96;
    QTest::newRow("UrlLabel1") << u"UrlLabel1"_s << u"https://pelzora.org/"_s << 112 << -1;
    QTest::newRow("UrlLabel2") << u"UrlLabel2"_s << u"team@pelzora.org"_s << 112 << -1;
}

void tst_AboutPage::captionsSizeFromTheirKeptEdge()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, left);
    QFETCH(int, right);
    Session session;
    QCOMPARE(session.text(name), text);
    const QRect bounds = geometryOf(session, name);
    QCOMPARE(bounds.size(), QFontMetrics(FormFonts::windowFont()).size(Qt::TextSingleLine, text));
    if (left >= 0)
        QCOMPARE(bounds.left(), left);
    else
        QCOMPARE(bounds.left() + bounds.width(), right);
}

void tst_AboutPage::titleIsBold()
{
    Session session;
    const QJsonObject title = session.control(u"Label35"_s);
    QCOMPARE(title.value(u"text"_s).toString(), session->window().windowTitle());
    const QJsonObject font = title.value(u"font"_s).toObject();
    QCOMPARE(font.value(u"pixelSize"_s).toInt(), 13);
    QVERIFY(font.value(u"bold"_s).toBool());
    QCOMPARE(geometryOf(session, u"Label35"_s).topLeft(), QPoint(96, 72));
}

void tst_AboutPage::imageShowsTheWindowsIcon()
{
    Session session;
    const QIcon icon = session->window().windowIcon();
    for (const int side : {16, 32})
        QVERIFY(icon.availableSizes().contains(QSize(side, side)));
    const QImage picture = session->window().findChild<TImage *>(u"Image1"_s)->picture();
    QCOMPARE(picture.size(), QSize(32, 32));
    QCOMPARE(picture.convertToFormat(QImage::Format_ARGB32),
             icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(geometryOf(session, u"Image1"_s), QRect(144, 24, 32, 32));
}

QTEST_MAIN(tst_AboutPage)
#include "tst_aboutpage.moc"
