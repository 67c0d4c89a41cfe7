// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "controls/lists/TListBox.h"
#include "support/Session.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray printersFixture(const QString &list, const QString &defaultName)
{
    return u"{ \"printers\": { \"list\": [ %1 ], \"default\": %2 } }"_s.arg(list, defaultName).toUtf8();
}

// A and B, B the default, in colour at 600 dpi.
const QString TwoPrinters = uR"({ "name": "A", "dmColor": 1, "colorFlag": false, "dpi": [300, 300] },
                                 { "name": "B", "dmColor": 2, "colorFlag": true, "dpi": [600, 600] })"_s;

void tick(Session &session)
{
    session->window().Timer7Timer();
}

QStringList listed(const Session &session)
{
    return session.control(u"ListBox2"_s).value(u"items"_s).toVariant().toStringList();
}

QStringList labels(const Session &session)
{
    return {session.text(u"Label26"_s), session.text(u"Label27"_s), session.text(u"Label25"_s)};
}

const QString Unknown = u"<Unknown>"_s;

} // namespace

class tst_PrinterPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultPrinterDescribed();
    void colourTexts_data();
    void colourTexts();
    void tickFailsAndKeepsTheLabels_data();
    void tickFailsAndKeepsTheLabels();
    void deviceModeOfSizeZeroStopsBeforeTheColour();
    void longDeviceNameIsShownWhole();
    void resolutionFollowsTheDefaultOneTickLater();
    void listIsBuiltOnceAndKept();
    void listIsRefilledEachTick();
    void defaultIsMatchedIgnoringCase();
};

void tst_PrinterPage::defaultPrinterDescribed()
{
    Session session(printersFixture(TwoPrinters, u"\"B\""_s));
    tick(session);
    QCOMPARE(listed(session), QStringList({u"A"_s, u"B"_s}));
    QCOMPARE(labels(session),
             QStringList({u"B: 彩色"_s, u"打印机支持彩色打印"_s, u"x: 600 y: 600 DPI (每英寸点数)"_s}));
    // The list draws both alike; a reader hears which one is the default.
    const auto *list = session->window().findChild<TListBox *>(u"ListBox2"_s);
    QCOMPARE(list->item(0)->data(Qt::AccessibleDescriptionRole).toString(), QString());
    QCOMPARE(list->item(1)->data(Qt::AccessibleDescriptionRole).toString(), u"默认"_s);
}

void tst_PrinterPage::colourTexts_data()
{
    QTest::addColumn<int>("dmColor");
    QTest::addColumn<bool>("colorFlag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("support");
    QTest::newRow("colour") << 2 << true << u"P: 彩色"_s << u"打印机支持彩色打印"_s;
    QTest::newRow("monochrome default of a colour printer") << 1 << true << u"P: 黑白"_s << u"打印机支持彩色打印"_s;
    QTest::newRow("colour left unset") << 0 << false << u"P: 黑白"_s << u"打印机不支持彩色打印"_s;
    QTest::newRow("negative colour") << -2 << true << u"P: 黑白"_s << u"打印机支持彩色打印"_s;
}

void tst_PrinterPage::colourTexts()
{
    QFETCH(int, dmColor);
    QFETCH(bool, colorFlag);
    QFETCH(QString, name);
    QFETCH(QString, support);
    const QString printer = uR"({ "name": "P", "dmColor": %1, "colorFlag": %2, "dpi": [1200, 600] })"_s.arg(dmColor)
                                .arg(colorFlag ? u"true"_s : u"false"_s);
    Session session(printersFixture(printer, u"\"P\""_s));
    tick(session);
    QCOMPARE(labels(session), QStringList({name, support, u"x: 1200 y: 600 DPI (每英寸点数)"_s}));
}

// Each of these stops the tick at its second step: the list is filled, the labels keep their texts.
void tst_PrinterPage::tickFailsAndKeepsTheLabels_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("defaultName");
    QTest::addColumn<QStringList>("expectedList");
    QTest::newRow("no printers") << QString() << u"null"_s << QStringList();
    QTest::newRow("no default printer") << TwoPrinters << u"null"_s << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("default printer not in the list") << TwoPrinters << u"\"C\""_s << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("no information context")
        << uR"({ "name": "A", "dmColor": 2, "colorFlag": true, "infoContext": false })"_s << u"\"A\""_s
        << QStringList{u"A"_s};
}

void tst_PrinterPage::tickFailsAndKeepsTheLabels()
{
    QFETCH(QString, list);
    QFETCH(QString, defaultName);
    QFETCH(QStringList, expectedList);
    Session session(printersFixture(list, defaultName));
    tick(session);
    tick(session);
    QCOMPARE(listed(session), expectedList);
    QCOMPARE(labels(session), QStringList({Unknown, Unknown, Unknown}));
    QVERIFY(session->reports().isEmpty());
}

// The resolution is written; the colour is never read from a device mode that is not there.
void tst_PrinterPage::deviceModeOfSizeZeroStopsBeforeTheColour()
{
    Session session(printersFixture(
        uR"({ "name": "A", "dmColor": 2, "colorFlag": true, "dpi": [600, 300], "devmodeSize": 0 })"_s, u"\"A\""_s));
    tick(session);
    tick(session);
    QCOMPARE(labels(session), QStringList({Unknown, Unknown, u"x: 600 y: 300 DPI (每英寸点数)"_s}));
}

void tst_PrinterPage::longDeviceNameIsShownWhole()
{
    const QString name = u"打印机-"_s + QString(296, u'n');
    QCOMPARE(name.size(), 300);
    Session session(
        printersFixture(uR"({ "name": "%1", "dmColor": 2, "colorFlag": true })"_s.arg(name), u"\"%1\""_s.arg(name)));
    tick(session);
    QCOMPARE(listed(session), QStringList{name});
    QCOMPARE(session.text(u"Label26"_s), name + u": 彩色"_s);
    QCOMPARE(session.text(u"Label27"_s), u"打印机支持彩色打印"_s);
}

// The resolution is measured on the printer the previous tick resolved as the
// default, so it follows a change of default one tick after the name does.
void tst_PrinterPage::resolutionFollowsTheDefaultOneTickLater()
{
    Session session(printersFixture(TwoPrinters, u"\"B\""_s));
    tick(session);
    session.steps(
        u"[ { \"fixture\": %1 } ]"_s.arg(QString::fromUtf8(printersFixture(TwoPrinters, u"\"A\""_s))).toUtf8());
    tick(session);
    QCOMPARE(labels(session),
             QStringList({u"A: 黑白"_s, u"打印机不支持彩色打印"_s, u"x: 600 y: 600 DPI (每英寸点数)"_s}));
    tick(session);
    QCOMPARE(session.text(u"Label25"_s), u"x: 300 y: 300 DPI (每英寸点数)"_s);
}

void tst_PrinterPage::listIsBuiltOnceAndKept()
{
    Session session(printersFixture(TwoPrinters, u"\"B\""_s));
    tick(session);
    const QStringList good = labels(session);
    const QString withC = TwoPrinters + uR"(, { "name": "C", "dmColor": 2, "colorFlag": true, "dpi": [1200, 1200] })"_s;
    session.steps(u"[ { \"fixture\": %1 } ]"_s.arg(QString::fromUtf8(printersFixture(withC, u"\"C\""_s))).toUtf8());
    tick(session);
    tick(session);
    QCOMPARE(listed(session), QStringList({u"A"_s, u"B"_s}));
    QCOMPARE(labels(session), good);
}

// A selection made in the list is gone at the next tick, which shows the top again.
void tst_PrinterPage::listIsRefilledEachTick()
{
    Session session(printersFixture(TwoPrinters, u"\"B\""_s));
    tick(session);
    auto *list = session->window().findChild<TListBox *>(u"ListBox2"_s);
    QVERIFY(list);
    list->setCurrentRow(1);
    QCOMPARE(session.control(u"ListBox2"_s).value(u"selected"_s).toInt(), 1);
    tick(session);
    QCOMPARE(session.control(u"ListBox2"_s).value(u"selected"_s).toInt(), -1);
    QCOMPARE(listed(session), QStringList({u"A"_s, u"B"_s}));
}

void tst_PrinterPage::defaultIsMatchedIgnoringCase()
{
    Session session(printersFixture(TwoPrinters, u"\"b\""_s));
    tick(session);
    QCOMPARE(session.text(u"Label26"_s), u"B: 彩色"_s);
}

QTEST_MAIN(tst_PrinterPage)
#include "tst_printerpage.moc"
