#include "controls/FormFonts.h"
#include "controls/TStyledLabel.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool hasPixelOf(const QImage &image, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

} // namespace

class tst_StyledLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void sizesToTheCaptionAsDrawn();
    void sizesToTheCaptionAsDrawn_data();
    void doubledMarkerDrawsAsOnePlainMarker();
    void rightJustifiedLabelKeepsItsRightEdge();
    void flyByColourFollowsThePointer();
    void shadowIsDrawnOnlyInTheShadowStyle();

private:
    QWidget *m_page = nullptr;
};

void tst_StyledLabel::init()
{
    delete m_page;
    m_page = new QWidget;
    m_page->setFont(FormFonts::windowFont());
    m_page->resize(200, 60);
}

void tst_StyledLabel::sizesToTheCaptionAsDrawn_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << u"Pelzora"_s << u"Pelzora"_s;
    QTest::newRow("mnemonic") << u"&Home page"_s << u"Home page"_s;
    QTest::newRow("mnemonic inside") << u"Ho&me"_s << u"Home"_s;
    QTest::newRow("doubled marker") << u"R&&D"_s << u"R&D"_s;
    QTest::newRow("empty: one blank") << QString() << u" "_s;
    QTest::newRow("lone marker: one blank") << u"&"_s << u" "_s;
}

void tst_StyledLabel::sizesToTheCaptionAsDrawn()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    const TStyledLabel label(u"Label"_s, QRect(10, 5, 65, 17), caption, m_page);
    const QFontMetrics metrics(label.font());
    QCOMPARE(label.geometry(), QRect(QPoint(10, 5), metrics.size(Qt::TextSingleLine, shown)));

    TStyledLabel changed(u"Label"_s, QRect(10, 5, 65, 17), u"x"_s, m_page);
    changed.setCaption(caption);
    QCOMPARE(changed.geometry(), label.geometry());
}

void tst_StyledLabel::doubledMarkerDrawsAsOnePlainMarker()
{
    TStyledLabel styled(u"Styled"_s, QRect(0, 0, 65, 17), u"R&&D"_s, m_page);
    TLabel plain(u"Plain"_s, QRect(0, 20, 65, 17), u"R&D"_s, m_page);
    QCOMPARE(styled.size(), plain.size());
    QCOMPARE(styled.grab().toImage(), plain.grab().toImage());
}

void tst_StyledLabel::rightJustifiedLabelKeepsItsRightEdge()
{
    TStyledLabel label(u"Label37"_s, QRect(41, 128, 54, 14), u"HomePage:"_s, m_page, Qt::AlignRight);
    QCOMPARE(label.x() + label.width(), 95);
    label.setCaption(u"主&页:"_s);
    QCOMPARE(label.x() + label.width(), 95);
    QCOMPARE(label.width(), QFontMetrics(label.font()).size(Qt::TextSingleLine, u"主页:"_s).width());
}

void tst_StyledLabel::flyByColourFollowsThePointer()
{
    TStyledLabel label(u"Label"_s, QRect(0, 0, 65, 17), u"Pelzora"_s, m_page);
    const QColor normal = label.textColor();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent leave(QEvent::Leave);

    QApplication::sendEvent(&label, &enter);
    QCOMPARE(label.textColor(), normal);   // fly-by is off by default

    label.setFlyByEnabled(true);
    label.setFlyByColor(Qt::red);
    QApplication::sendEvent(&label, &enter);
    QCOMPARE(label.textColor(), QColor(Qt::red));
    QApplication::sendEvent(&label, &leave);
    QCOMPARE(label.textColor(), normal);
}

void tst_StyledLabel::shadowIsDrawnOnlyInTheShadowStyle()
{
    TStyledLabel label(u"Label"_s, QRect(0, 0, 65, 17), u"WWW"_s, m_page);
    label.setShadowColor(Qt::red);
    QVERIFY(!hasPixelOf(label.grab().toImage(), Qt::red));
    label.setTextStyle(TStyledLabel::tsShadow);
    QVERIFY(hasPixelOf(label.grab().toImage(), Qt::red));
    label.setShadowColor(QColor());   // no colour: no shadow
    QVERIFY(!hasPixelOf(label.grab().toImage(), Qt::red));
}

QTEST_MAIN(tst_StyledLabel)
#include "tst_styledlabel.moc"
