#include "app/UnitFormMain.h"
#include "controls/FormFonts.h"
#include "controls/TUrlLabel.h"
#include "platform/fake/FakeShell.h"
#include "support/Session.h"

#include <QFontMetrics>
#include <QJsonArray>
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
        if (event->type() == QEvent::Paint)
            ++paints;
        else if (event->type() == QEvent::Resize)
            ++resizes;
        return false;
    }
};

// Lets pending repaints happen.
void settle()
{
    QTest::qWait(30);
}

QByteArray shellAnswers(const char *opens)
{
    return QByteArray(R"({"shell": {"opens": )") + opens + "}}";
}

TUrlLabel *link(Session &session, const QString &name)
{
    return session->window().findChild<TUrlLabel *>(name);
}

QStringList shellOpened(const Session &session)
{
    return session.dump().value(u"shellOpened"_s).toVariant().toStringList();
}

void sendMouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button, QPoint position)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void click(Session &session, const QString &name)
{
    session->runStep({{u"click"_s, name}});
}

// The links' font as the form stores it.
TStyledLabel::StoredFont formFont()
{
    QFont font = FormFonts::windowFont();
    font.setUnderline(true);
    return {font, QColor(0, 0, 0)};
}

} // namespace

class tst_UrlLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linksLoadInTheFormsColourUnderlined();
    void clickOpensTheUrl();
    void blankUrlOpensTheCaption();
    void blankUrlOpensTheCaption_data();
    void urlIsHandedOverWithItsOuterBlanks();
    void failedOpenLeavesTheLinkUnvisitedAndOpensNothingElse();
    void firstOpenVisitsTheLinkAndASecondChangesNothing();
    void mnemonicCaptionKeepsTheUrl();
    void urlChangesNeitherSizeNorPicture();
    void onlyAPressAndReleaseOverTheLinkIsAClick();
    void colourSettersApplyTheLinkColour();
};

void tst_UrlLabel::linksLoadInTheFormsColourUnderlined()
{
    Session session;
    for (const QString &name : {u"UrlLabel1"_s, u"UrlLabel2"_s}) {
        const QJsonObject control = session.control(name);
        QCOMPARE(control.value(u"kind"_s).toString(), u"urllabel"_s);
        QCOMPARE(control.value(u"color"_s).toString(), u"#000000"_s);
        QVERIFY(control.value(u"font"_s).toObject().value(u"underline"_s).toBool());
        QCOMPARE(control.value(u"visited"_s).toBool(), false);
        QCOMPARE(link(session, name)->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!link(session, name)->shadowColor().isValid());
    }
    QCOMPARE(session.control(u"UrlLabel2"_s).value(u"url"_s).toString(), u"mailto:team@pelzora.org"_s);
}

void tst_UrlLabel::clickOpensTheUrl()
{
    Session session(shellAnswers("[true]"));
    click(session, u"UrlLabel1"_s);
    click(session, u"UrlLabel2"_s);
    QCOMPARE(shellOpened(session), (QStringList{u"https://pelzora.org/"_s, u"mailto:team@pelzora.org"_s}));
}

void tst_UrlLabel::blankUrlOpensTheCaption_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << u"   "_s;
    QTest::newRow("control characters") << u"\t\r\n"_s;
}

void tst_UrlLabel::blankUrlOpensTheCaption()
{
    QFETCH(QString, url);
    Session session(shellAnswers("[true]"));
    link(session, u"UrlLabel2"_s)->setUrl(url);
    click(session, u"UrlLabel2"_s);
    QCOMPARE(shellOpened(session), QStringList{u"team@pelzora.org"_s});
    QVERIFY(session.control(u"UrlLabel2"_s).value(u"visited"_s).toBool());

    // With a blank caption as well there is nothing to open.
    link(session, u"UrlLabel1"_s)->setUrl(url);
    link(session, u"UrlLabel1"_s)->setCaption(u" "_s);
    click(session, u"UrlLabel1"_s);
    QCOMPARE(shellOpened(session).size(), 1);
    QVERIFY(!session.control(u"UrlLabel1"_s).value(u"visited"_s).toBool());
}

void tst_UrlLabel::urlIsHandedOverWithItsOuterBlanks()
{
    Session session(shellAnswers("[true]"));
    link(session, u"UrlLabel1"_s)->setUrl(u"  https://pelzora.org/news \t"_s);
    click(session, u"UrlLabel1"_s);
    QCOMPARE(shellOpened(session), QStringList{u"  https://pelzora.org/news \t"_s});
}

void tst_UrlLabel::failedOpenLeavesTheLinkUnvisitedAndOpensNothingElse()
{
    Session session(shellAnswers("[false]"));
    click(session, u"UrlLabel1"_s);
    // Not even a page whose name ends in .htm falls back to anything.
    link(session, u"UrlLabel2"_s)->setUrl(u"C:\\docs\\index.HTM"_s);
    click(session, u"UrlLabel2"_s);
    QCOMPARE(shellOpened(session), (QStringList{u"https://pelzora.org/"_s, u"C:\\docs\\index.HTM"_s}));
    for (const QString &name : {u"UrlLabel1"_s, u"UrlLabel2"_s}) {
        QCOMPARE(session.control(name).value(u"visited"_s).toBool(), false);
        QCOMPARE(session.control(name).value(u"color"_s).toString(), u"#000000"_s);
    }
    QVERIFY(session->reports().isEmpty());
}

void tst_UrlLabel::firstOpenVisitsTheLinkAndASecondChangesNothing()
{
    Session session(shellAnswers("[false, true]"));
    session.page(6);
    settle();
    click(session, u"UrlLabel1"_s);
    QCOMPARE(session.control(u"UrlLabel1"_s).value(u"visited"_s).toBool(), false);

    const EventCounter counter(link(session, u"UrlLabel1"_s));
    click(session, u"UrlLabel1"_s);
    settle();
    QCOMPARE(session.control(u"UrlLabel1"_s).value(u"visited"_s).toBool(), true);
    QCOMPARE(session.control(u"UrlLabel1"_s).value(u"color"_s).toString(), u"#800080"_s);
    const int paintsOnVisit = counter.paints;
    QVERIFY(paintsOnVisit > 0);

    const QJsonArray before = session.control(u"UrlLabel1"_s).value(u"geometry"_s).toArray();
    click(session, u"UrlLabel1"_s);
    settle();
    QCOMPARE(shellOpened(session).size(), 3);
    QCOMPARE(session.control(u"UrlLabel1"_s).value(u"visited"_s).toBool(), true);
    QCOMPARE(session.control(u"UrlLabel1"_s).value(u"color"_s).toString(), u"#800080"_s);
    QCOMPARE(session.control(u"UrlLabel1"_s).value(u"geometry"_s).toArray(), before);
    QCOMPARE(counter.paints, paintsOnVisit);
    QCOMPARE(counter.resizes, 0);
}

void tst_UrlLabel::mnemonicCaptionKeepsTheUrl()
{
    Session session(shellAnswers("[true]"));
    TUrlLabel *home = link(session, u"UrlLabel1"_s);
    home->setCaption(u"&Home page"_s);
    const QFontMetrics metrics(home->font());
    QCOMPARE(home->width(), metrics.horizontalAdvance(u"Home page"_s));
    QCOMPARE(home->x(), 112);
    click(session, u"UrlLabel1"_s);
    QCOMPARE(home->url(), u"https://pelzora.org/"_s);
    QCOMPARE(shellOpened(session), QStringList{u"https://pelzora.org/"_s});

    // Without a URL the caption goes to the shell as written.
    home->setUrl(QString());
    click(session, u"UrlLabel1"_s);
    QCOMPARE(shellOpened(session).last(), u"&Home page"_s);
}

void tst_UrlLabel::urlChangesNeitherSizeNorPicture()
{
    Session session;
    session.page(6);
    settle();
    TUrlLabel *home = link(session, u"UrlLabel1"_s);
    const EventCounter counter(home);
    const QRect before = home->geometry();
    home->setUrl(u"https://pelzora.org/a-much-longer-address-than-before"_s);
    settle();
    QCOMPARE(home->geometry(), before);
    QCOMPARE(counter.paints, 0);
    QCOMPARE(counter.resizes, 0);

    home->setCaption(u"https://pelzora.org/a-much-longer-address-than-before"_s);
    settle();
    QVERIFY(home->width() > before.width());
    QCOMPARE(home->x(), before.x());
    QVERIFY(counter.paints > 0);
    QCOMPARE(counter.resizes, 1);
}

void tst_UrlLabel::onlyAPressAndReleaseOverTheLinkIsAClick()
{
    FakeMachine machine;
    machine.shellOpens.answers = {true};
    FakeShell shell(machine);
    QWidget page;
    TUrlLabel label(shell, u"UrlLabel1"_s, QRect(10, 10, 140, 14), formFont(), u"https://pelzora.org/"_s,
                    u"https://pelzora.org/"_s, &page);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    int clicks = 0;
    connect(&label, &TStyledLabel::clicked, this, [&] { ++clicks; });

    const QPoint inside(5, 5);
    sendMouse(&label, QEvent::MouseButtonPress, Qt::RightButton, inside);
    sendMouse(&label, QEvent::MouseButtonRelease, Qt::RightButton, inside);
    sendMouse(&label, QEvent::MouseButtonPress, Qt::LeftButton, inside);
    sendMouse(&label, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(label.width() + 5, 5));
    sendMouse(&label, QEvent::MouseButtonRelease, Qt::LeftButton, inside);   // no press before it
    QCOMPARE(machine.shellOpened.size(), 0);

    // A double click arrives as press, release, press, double click, release.
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        sendMouse(&label, type, Qt::LeftButton, inside);
    QCOMPARE(machine.shellOpened, QStringList{u"https://pelzora.org/"_s});
    QCOMPARE(clicks, 1);
}

void tst_UrlLabel::colourSettersApplyTheLinkColour()
{
    FakeMachine machine;
    FakeShell shell(machine);
    QWidget page;
    const QColor highlight = page.palette().color(QPalette::Highlight);
    TUrlLabel label(shell, u"UrlLabel1"_s, QRect(10, 10, 140, 14), formFont(), u"x"_s, u"x"_s, &page);
    QCOMPARE(label.visitedColor(), QColor(128, 0, 128));
    QCOMPARE(label.unvisitedColor(), highlight);
    QCOMPARE(label.textColor(), QColor(0, 0, 0));

    // Setting a value a label already has changes nothing.
    label.setVisited(false);
    label.setUnvisitedColor(highlight);
    QCOMPARE(label.textColor(), QColor(0, 0, 0));

    label.setVisitedColor(Qt::red);
    QCOMPARE(label.textColor(), highlight);   // a change applies the colour of the current state
    label.setVisited(true);
    QCOMPARE(label.textColor(), QColor(Qt::red));
    label.setVisitedColor(Qt::green);
    QCOMPARE(label.textColor(), QColor(Qt::green));
    label.setUnvisitedColor(Qt::blue);
    QCOMPARE(label.textColor(), QColor(Qt::green));
    label.setVisited(false);
    QCOMPARE(label.textColor(), QColor(Qt::blue));   // not back to the form's colour
    QCOMPARE(label.fontColor(), QColor(Qt::blue));
}

QTEST_MAIN(tst_UrlLabel)
#include "tst_urllabel.moc"
