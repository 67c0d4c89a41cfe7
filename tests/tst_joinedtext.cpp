#include "app/UnitFormMain.h"
#include "controls/JoinedText.h"
#include "controls/TDriveComboBox.h"
#include "controls/TLabel.h"
#include "support/Session.h"

#include <QTest>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Override = u"\u202E"_s; // right-to-left override
const QString Isolate = u"\u2067"_s; // right-to-left isolate
const QString Pop = u"\u2069"_s; // end of an isolate

// Whether every character of the program's own words, the parts of the plain
// text outside the given outside texts, is drawn left to right, each after the one before.
bool ownWordsReadLeftToRight(const QString &shown, const QString &plain, const QStringList &outsideTexts)
{
    QTextLayout layout(shown);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // Own words are the same in both forms; find each outside part and skip its shown form.
    qsizetype inPlain = 0;
    qsizetype inShown = 0;
    qreal lastRight = -1;
    for (const QString &outside : outsideTexts) {
        const qsizetype start = plain.indexOf(outside, inPlain);
        for (; inPlain < start; ++inPlain, ++inShown) {
            const qreal left = line.cursorToX(int(inShown), QTextLine::Leading);
            const qreal right = line.cursorToX(int(inShown), QTextLine::Trailing);
            if (right <= left || left < lastRight)
                return false;
            lastRight = right;
        }
        inPlain += outside.size();
        inShown += JoinedText::isolated(outside).size();
    }
    for (; inPlain < plain.size(); ++inPlain, ++inShown) {
        const qreal left = line.cursorToX(int(inShown), QTextLine::Leading);
        const qreal right = line.cursorToX(int(inShown), QTextLine::Trailing);
        if (right <= left || left < lastRight)
            return false;
        lastRight = right;
    }
    return true;
}

} // namespace

class tst_JoinedText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outsideDirectionsEndWithTheirText_data();
    void outsideDirectionsEndWithTheirText();
    void windowDrawsIsolatesAndDumpsPlainText();
};

void tst_JoinedText::outsideDirectionsEndWithTheirText_data()
{
    QTest::addColumn<QString>("outside");
    QTest::newRow("override") << Override + u"exe.png"_s;
    QTest::newRow("isolate left open") << Isolate + u"abc"_s;
    QTest::newRow("stray end of isolate") << u"abc"_s + Pop + Override + u"def"_s;
    QTest::newRow("right-to-left letters") << u"שלום"_s;
}

void tst_JoinedText::outsideDirectionsEndWithTheirText()
{
    QFETCH(QString, outside);
    const JoinedText text = JoinedText().own(u"Label = "_s).outside(outside).own(u"   VolSer = 89BB1B10"_s);
    QCOMPARE(text.plain(), u"Label = "_s + outside + u"   VolSer = 89BB1B10"_s);
    QVERIFY(ownWordsReadLeftToRight(text.shown(), text.plain(), {outside}));
}

void tst_JoinedText::windowDrawsIsolatesAndDumpsPlainText()
{
    Session session(R"({ "currentDirectory": "C:\\",
        "drives": [ { "letter": "C", "type": 3, "label": "\u202eexe.png", "serial": "0x89BB1B10" } ],
        "printers": { "list": [ { "name": "\u202eLaser", "dmColor": 2, "colorFlag": true, "dpi": [600, 600],
                                  "infoContext": true, "devmodeSize": 220 } ], "default": "\u202eLaser" },
        "host": { "name": "\u202epc1" } })");
    session.page(2);
    session.wait(1100);
    const QString label = Override + u"exe.png"_s;
    const TFormMain &window = session->window();
    const auto *labelSerial = window.findChild<TLabel *>(u"Label16"_s);
    QCOMPARE(session.text(u"Label16"_s), u"Label = "_s + label + u"   VolSer = 89BB1B10"_s);
    QVERIFY(ownWordsReadLeftToRight(labelSerial->shownText(), labelSerial->caption(), {label}));
    const auto *selector = window.findChild<TDriveComboBox *>(u"DriveComboBox1"_s);
    QCOMPARE(session.control(u"DriveComboBox1"_s).value(u"items"_s).toArray().at(0).toString(),
             u"c: ["_s + label + u"]"_s);
    QVERIFY(ownWordsReadLeftToRight(selector->itemShownText(0), selector->itemText(0), {label}));
    const auto *printer = window.findChild<TLabel *>(u"Label26"_s);
    QCOMPARE(session.text(u"Label26"_s), Override + u"Laser: 彩色"_s);
    QVERIFY(ownWordsReadLeftToRight(printer->shownText(), printer->caption(), {Override + u"Laser"_s}));
    QCOMPARE(session.text(u"Label19"_s), Override + u"pc1"_s);
}

QTEST_MAIN(tst_JoinedText)
#include "tst_joinedtext.moc"
