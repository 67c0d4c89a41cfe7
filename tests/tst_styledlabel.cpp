// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/text/FormFonts.h"
#include "controls/text/TStyledLabel.h"

#include <QFontMetrics>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_StyledLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizesToTheCaptionAsDrawn();
    void sizesToTheCaptionAsDrawn_data();
    void doubledMarkerDrawsAsOnePlainMarker();
};

void tst_StyledLabel::sizesToTheCaptionAsDrawn_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("mnemonic") << u"&Home page"_s << u"Home page"_s;
    QTest::newRow("doubled marker") << u"R&&D"_s << u"R&D"_s;
    QTest::newRow("empty: one blank") << QString() << u" "_s;
    QTest::newRow("lone marker: one blank") << u"&"_s << u" "_s;
}

void tst_StyledLabel::sizesToTheCaptionAsDrawn()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    QWidget page;
    page.setFont(FormFonts::windowFont());
    // As wide as the text drawn, as high as the form's lines of the window's font.
    const QSize size(QFontMetrics(page.font()).size(Qt::TextSingleLine, shown).width(), 14);
    const TStyledLabel left(u"Left"_s, QRect(10, 5, 65, 17), caption, &page);
    QCOMPARE(left.geometry(), QRect(QPoint(10, 5), size));
    TStyledLabel right(u"Right"_s, QRect(41, 30, 54, 14), u"HomePage:"_s, &page, Qt::AlignRight);
    right.setCaption(caption);
    QCOMPARE(right.geometry(), QRect(QPoint(95 - size.width(), 30), size));
}

void tst_StyledLabel::doubledMarkerDrawsAsOnePlainMarker()
{
    QWidget page;
    TStyledLabel styled(u"Styled"_s, QRect(0, 0, 65, 17), u"R&&D"_s, &page);
    TLabel plain(u"Plain"_s, QRect(0, 20, 65, 17), u"R&D"_s, &page);
    QCOMPARE(styled.grab().toImage(), plain.grab().toImage());
}

QTEST_MAIN(tst_StyledLabel)
#include "tst_styledlabel.moc"
