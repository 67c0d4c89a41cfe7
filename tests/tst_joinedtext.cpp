// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "controls/drives/TDriveComboBox.h"
#include "controls/text/JoinedText.h"
#include "controls/text/TLabel.h"
#include "support/Session.h"

#include <QTest>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Override = u"\u202E"_s; // right-to-left override
const QString Pop = u"\u2069"_s; // end of an isolate, here without its start

// Whether the program's own words (the plain text less the one outside part)
// are drawn left to right, each character after the one before.
bool ownWordsReadLeftToRight(const QString &shown, const QString &plain, const QString &outside)
{
    QTextLayout layout(shown);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const qsizetype start = plain.indexOf(outside);
    const qsizetype skipped = JoinedText::isolated(outside).size() - outside.size();
    qreal lastRight = -1;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (i >= start && i < start + outside.size())
            continue;
        const int at = int(i >= start ? i + skipped : i);
        const qreal left = line.cursorToX(at, QTextLine::Leading);
        const qreal right = line.cursorToX(at, QTextLine::Trailing);
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
    void windowDrawsIsolatesAndDumpsPlainText();
    void controlCharactersDrawAsTheirPictures();
};

void tst_JoinedText::windowDrawsIsolatesAndDumpsPlainText()
{
    Session session(R"({ "currentDirectory": "C:\\",
        "drives": [ { "letter": "C", "type": 3, "label": "\u202eexe.png", "serial": "0x89BB1B10" } ],
        "printers": { "list": [ { "name": "\u2069\u202eLaser", "dmColor": 2, "colorFlag": true, "dpi": [600, 600],
                                  "infoContext": true, "devmodeSize": 220 } ], "default": "\u2069\u202eLaser" },
        "host": { "name": "\u202epc1" } })");
    session.page(2);
    session.wait(1100);
    const QString label = Override + u"exe.png"_s;
    const TFormMain &window = session->window();
    const auto *labelSerial = window.findChild<TLabel *>(u"Label16"_s);
    QCOMPARE(session.text(u"Label16"_s), u"Label = "_s + label + u"   VolSer = 89BB1B10"_s);
    QVERIFY(ownWordsReadLeftToRight(labelSerial->shownText(), labelSerial->caption(), label));
    const auto *selector = window.findChild<TDriveComboBox *>(u"DriveComboBox1"_s);
    QCOMPARE(session.control(u"DriveComboBox1"_s).value(u"items"_s).toArray().at(0).toString(),
             u"c: ["_s + label + u"]"_s);
    QVERIFY(ownWordsReadLeftToRight(selector->itemShownText(0), selector->itemText(0), label));
    const auto *printer = window.findChild<TLabel *>(u"Label26"_s);
    QCOMPARE(session.text(u"Label26"_s), Pop + Override + u"Laser: 彩色"_s);
    QVERIFY(ownWordsReadLeftToRight(printer->shownText(), printer->caption(), Pop + Override + u"Laser"_s));
    QCOMPARE(session.text(u"Label19"_s), Override + u"pc1"_s);
}

void tst_JoinedText::controlCharactersDrawAsTheirPictures()
{
    const JoinedText text = JoinedText().own(u"Label = "_s).outside(u"a\u001b[31m\tb\u0000\u007f\u0085"_s);
    QCOMPARE(text.plain(), u"Label = a\u001b[31m\tb\u0000\u007f\u0085"_s);
    QCOMPARE(text.shown(), u"Label = "_s + JoinedText::isolated(u"a\u241b[31m\u2409b\u2421\ufffd"_s));
}

QTEST_MAIN(tst_JoinedText)
#include "tst_joinedtext.moc"
