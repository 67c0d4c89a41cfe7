// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "controls/text/FormFonts.h"
#include "controls/text/TUrlLabel.h"
#include "platform/fake/FakeShell.h"
#include "support/Session.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Counts the paints and resizes a widget receives.
class EventCounter final : public QObject
{
public:
    explicit EventCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;
    int resizes = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        resizes += event->type() == QEvent::Resize;
        return false;
    }
};

QByteArray shellAnswers(const QString &opens)
{
    return u"{\"shell\": {\"opens\": %1}}"_s.arg(opens).toUtf8();
}

TUrlLabel *link(Session &session, const QString &name)
{
    return session->window().findChild<TUrlLabel *>(name);
}

QStringList clickAndListOpened(Session &session, const QString &name)
{
    session->runStep({{u"click"_s, name}});
    QTest::qWait(30); // lets a repaint happen
    return session.dump().value(u"shellOpened"_s).toVariant().toStringList();
}

} // namespace

class tst_UrlLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clickOpensTheTarget();
    void clickOpensTheTarget_data();
    void firstOpenVisitsTheLinkAndASecondChangesNothing();
    void mnemonicCaptionKeepsTheUrl();
    void urlChangesNeitherSizeNorPicture();
    void onlyAPressAndReleaseOverTheLinkIsAClick();
    void colourSettersApplyTheLinkColour();
};

void tst_UrlLabel::clickOpensTheTarget_data()
{
    QTest::addColumn<QString>("opens");
    QTest::addColumn<QString>("url"); // null: the form's
    QTest::addColumn<QString>("caption"); // null: the form's
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<bool>("visited");
    const QString contact = u"team@pelzora.org"_s;
    QTest::newRow("form's URL") << u"[true]"_s << QString() << QString() << QStringList{u"mailto:"_s + contact} << true;
    QTest::newRow("empty URL") << u"[true]"_s << u""_s << QString() << QStringList{contact} << true;
    QTest::newRow("blank URL") << u"[true]"_s << u" \t\r\n"_s << QString() << QStringList{contact} << true;
    QTest::newRow("outer blanks") << u"[true]"_s << u" https://pelzora.org/a \t"_s << QString()
                                  << QStringList{u" https://pelzora.org/a \t"_s} << true;
    QTest::newRow("all blank") << u"[true]"_s << u" "_s << u"\t "_s << QStringList() << false;
    QTest::newRow("failed open") << u"[false]"_s << QString() << QString() << QStringList{u"mailto:"_s + contact}
                                 << false;
    // No program chooser to fall back on, not even for a page.
    QTest::newRow("failed .htm") << u"[false]"_s << u"C:\\docs\\index.HTM"_s << QString()
                                 << QStringList{u"C:\\docs\\index.HTM"_s} << false;
}

void tst_UrlLabel::clickOpensTheTarget()
{
    QFETCH(QString, opens);
    QFETCH(QString, url);
    QFETCH(QString, caption);
    QFETCH(QStringList, opened);
    QFETCH(bool, visited);
    Session session(shellAnswers(opens));
    if (!url.isNull())
        link(session, u"UrlLabel2"_s)->setUrl(url);
    if (!caption.isNull())
        link(session, u"UrlLabel2"_s)->setCaption(caption);
    QCOMPARE(clickAndListOpened(session, u"UrlLabel2"_s), opened);
    const QJsonObject control = session.control(u"UrlLabel2"_s);
    QCOMPARE(control.value(u"visited"_s).toBool(), visited);
    QCOMPARE(control.value(u"color"_s).toString(), visited ? u"#800080"_s : u"#000000"_s);
    QVERIFY(control.value(u"font"_s).toObject().value(u"underline"_s).toBool());
    QVERIFY(session->reports().isEmpty());
}

void tst_UrlLabel::firstOpenVisitsTheLinkAndASecondChangesNothing()
{
    Session session(shellAnswers(u"[false, true]"_s));
    session.page(6);
    clickAndListOpened(session, u"UrlLabel1"_s);
    QVERIFY(!session.control(u"UrlLabel1"_s).value(u"visited"_s).toBool());
    const EventCounter counter(link(session, u"UrlLabel1"_s));
    clickAndListOpened(session, u"UrlLabel1"_s);
    QVERIFY(session.control(u"UrlLabel1"_s).value(u"visited"_s).toBool());
    const int paintsOnVisit = counter.paints;
    QVERIFY(paintsOnVisit > 0);

    QCOMPARE(clickAndListOpened(session, u"UrlLabel1"_s).size(), 3);
    QVERIFY(session.control(u"UrlLabel1"_s).value(u"visited"_s).toBool());
    QCOMPARE(session.control(u"UrlLabel1"_s).value(u"color"_s).toString(), u"#800080"_s);
    QCOMPARE(counter.paints, paintsOnVisit);
    QCOMPARE(counter.resizes, 0);
}

void tst_UrlLabel::mnemonicCaptionKeepsTheUrl()
{
    Session session(shellAnswers(u"[true]"_s));
    TUrlLabel *home = link(session, u"UrlLabel1"_s);
    home->setCaption(u"&Home page"_s);
    QCOMPARE(home->geometry(), QRect(112, 128, home->fontMetrics().size(0, u"Home page"_s).width(), 14));
    QCOMPARE(clickAndListOpened(session, u"UrlLabel1"_s), QStringList{u"https://pelzora.org/"_s});
    home->setUrl(QString());
    QCOMPARE(clickAndListOpened(session, u"UrlLabel1"_s).last(), u"&Home page"_s);
}

void tst_UrlLabel::urlChangesNeitherSizeNorPicture()
{
    Session session;
    session.page(6);
    QTest::qWait(30);
    TUrlLabel *home = link(session, u"UrlLabel1"_s);
    const EventCounter counter(home);
    const QString longer = u"https://pelzora.org/a-much-longer-address"_s;
    home->setUrl(longer);
    QTest::qWait(30);
    QCOMPARE(counter.paints + counter.resizes, 0);
    home->setCaption(longer);
    QTest::qWait(30);
    QVERIFY(counter.paints > 0);
    QCOMPARE(counter.resizes, 1);
}

void tst_UrlLabel::onlyAPressAndReleaseOverTheLinkIsAClick()
{
    FakeMachine machine;
    machine.shellOpens.answers = {true};
    FakeShell shell(machine);
    QWidget page;
    TUrlLabel label(shell, u"Link"_s, QRect(0, 0, 65, 17), {FormFonts::windowFont(), Qt::black}, u"x"_s, u"y"_s, &page);
    int clicks = 0;
    connect(&label, &TStyledLabel::clicked, this, [&] { ++clicks; });
    const auto send = [&](QEvent::Type type, Qt::MouseButton button, QPoint at = QPoint(2, 2)) {
        QMouseEvent event(type, at, label.mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    };
    send(QEvent::MouseButtonPress, Qt::RightButton);
    send(QEvent::MouseButtonRelease, Qt::RightButton);
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(label.width() + 5, 2)); // released outside
    send(QEvent::MouseButtonRelease, Qt::LeftButton); // no press before it
    QCOMPARE(clicks, 0);
    // A double click arrives as press, release, press, double click, release, and opens once.
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        send(type, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QCOMPARE(machine.shellOpened, QStringList{u"y"_s});
}

void tst_UrlLabel::colourSettersApplyTheLinkColour()
{
    FakeMachine machine;
    FakeShell shell(machine);
    QWidget page;
    const QColor highlight = page.palette().color(QPalette::Highlight);
    TUrlLabel label(shell, u"Link"_s, QRect(0, 0, 65, 17), {FormFonts::windowFont(), Qt::black}, u"x"_s, u"x"_s, &page);
    QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(label.visitedColor(), QColor(128, 0, 128));
    QCOMPARE(label.unvisitedColor(), highlight);
    label.setVisited(false);
    label.setUnvisitedColor(highlight);
    QCOMPARE(label.textColor(), QColor(Qt::black)); // unchanged values apply nothing

    label.setVisitedColor(Qt::red);
    QCOMPARE(label.textColor(), highlight); // a change applies the colour of the current state
    label.setVisited(true);
    QCOMPARE(label.textColor(), QColor(Qt::red));
    label.setUnvisitedColor(Qt::blue);
    QCOMPARE(label.textColor(), QColor(Qt::red));
    label.setVisited(false);
    QCOMPARE(label.textColor(), QColor(Qt::blue)); // not back to the form's colour
}

QTEST_MAIN(tst_UrlLabel)
#include "tst_urllabel.moc"
