// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SystemReport.h"
#include "app/UnitFormMain.h"
#include "controls/TLabel.h"
#include "controls/TListBox.h"
#include "controls/TPaintBox.h"
#include "support/Session.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTabBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A machine with a processor whose vendor text ends in a NUL, an address, services and a default printer.
const QByteArray Machine = R"({
    "cpuid": { "leaves": { "0x0": ["0x1", "0x756E6547", "0x00656E69", "0x49656E69"] } },
    "host": { "name": "pc1", "addresses": ["192.0.2.2"] },
    "services": { "displayNames": ["Secure Shell", "Printing"] },
    "printers": { "list": [ { "name": "Laser", "dmColor": 2, "colorFlag": true } ], "default": "Laser" },
    "shell": { "opens": [ true ] }
})";

QString clipboard(const Session &session)
{
    return session.dump().value(u"clipboard"_s).toString();
}

int pageChanges(const Session &session)
{
    return session.dump()[u"events"_s][u"TabbedNotebook1Change"_s].toInt();
}

void step(Session &session, const QString &kind, const QString &argument)
{
    session->runStep({{kind, argument}});
}

} // namespace

class tst_WindowActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QGuiApplication::clipboard()->clear(); }
    void copyFocusedValue();
    void copySelectionOnly();
    void copyValueUnderThePointer();
    void contextMenuCopiesTheValueUnderIt();
    void processorReportCopiesAsLinesWithoutNul();
    void copyAllIsTheReport();
    void pageKeysRunThePageChangeHandler();
    void pageKeysRunThePageChangeHandler_data();
    void linksOpenFromTheKeyboard();
    void closeKeys();
};

void tst_WindowActions::copyFocusedValue()
{
    Session session(Machine);
    session.wait(1200);
    session.page(5);
    step(session, u"focus"_s, u"Label17"_s);
    step(session, u"key"_s, u"ctrl+c"_s);
    QCOMPARE(clipboard(session), u"192.0.2.2"_s);
    // A focused list copies its current item.
    session.page(3);
    session->window().findChild<TListBox *>(u"ListBox1"_s)->setCurrentRow(1);
    step(session, u"focus"_s, u"ListBox1"_s);
    step(session, u"key"_s, u"ctrl+c"_s);
    QCOMPARE(clipboard(session), u"Printing"_s);
}

void tst_WindowActions::copySelectionOnly()
{
    Session session(Machine);
    session.wait(1200);
    session.page(5);
    auto *address = session->window().findChild<TLabel *>(u"Label17"_s);
    QTest::mouseDClick(address, Qt::LeftButton);
    QCOMPARE(address->selectedText(), u"192.0.2.2"_s);
    address->setSelection(0, 3);
    step(session, u"key"_s, u"ctrl+c"_s);
    QCOMPARE(clipboard(session), u"192"_s);
}

void tst_WindowActions::copyValueUnderThePointer()
{
    Session session(Machine);
    session.wait(1200);
    session.page(5);
    auto *name = session->window().findChild<TLabel *>(u"Label19"_s);
    QCursor::setPos(name->mapToGlobal(name->rect().center()));
    step(session, u"key"_s, u"ctrl+c"_s); // the tab bar has the focus and holds no value
    QCOMPARE(clipboard(session), u"pc1"_s);
}

void tst_WindowActions::contextMenuCopiesTheValueUnderIt()
{
    Session session(Machine);
    session.wait(1200);
    session.page(4);
    session.steps(R"([{ "contextMenu": "Label26", "choose": "复制" }])");
    QCOMPARE(clipboard(session), u"Laser: 彩色"_s);
    // The graph copies what it shows, as it describes itself.
    session.page(1);
    session.wait(250);
    session.steps(R"([{ "contextMenu": "GroupBox3", "choose": "复制" }])");
    QCOMPARE(clipboard(session), session->window().findChild<TPaintBox *>(u"PaintBox1"_s)->accessibleDescription());
    QVERIFY(clipboard(session).startsWith(u"物理内存 "_s));
}

void tst_WindowActions::processorReportCopiesAsLinesWithoutNul()
{
    Session session(Machine);
    session.wait(100);
    session.steps(R"([{ "contextMenu": "Img_Info", "choose": "复制" }])");
    const QStringList lines = clipboard(session).split(u'\n');
    QCOMPARE(lines.value(0), u"处理器"_s);
    QCOMPARE(lines.value(1), u"   - 供货商ID: GenuineIine"_s);
    QVERIFY(!clipboard(session).contains(QChar(u'\0')));
}

void tst_WindowActions::copyAllIsTheReport()
{
    Session session(Machine);
    session.wait(1200);
    step(session, u"key"_s, u"ctrl+shift+c"_s);
    const QString report = SystemReport::fromWindow(session->window()).toText().remove(QChar(u'\0'));
    QVERIFY(!report.isEmpty());
    QCOMPARE(clipboard(session), report);
    QGuiApplication::clipboard()->clear();
    session.steps(R"([{ "contextMenu": "Label17", "choose": "复制全部" }])");
    QCOMPARE(clipboard(session), report);
}

void tst_WindowActions::pageKeysRunThePageChangeHandler_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("to");
    QTest::newRow("ctrl+tab") << 0 << u"ctrl+tab"_s << 1;
    QTest::newRow("ctrl+tab past the last") << 6 << u"ctrl+tab"_s << 0;
    QTest::newRow("ctrl+shift+tab") << 0 << u"ctrl+shift+tab"_s << 6;
    QTest::newRow("ctrl+pgdown") << 2 << u"ctrl+pgdown"_s << 3;
    QTest::newRow("ctrl+pgup") << 2 << u"ctrl+pgup"_s << 1;
    QTest::newRow("alt+5") << 0 << u"alt+5"_s << 4;
    QTest::newRow("alt+7") << 3 << u"alt+7"_s << 6;
}

void tst_WindowActions::pageKeysRunThePageChangeHandler()
{
    QFETCH(int, from);
    QFETCH(QString, keys);
    QFETCH(int, to);
    Session session;
    session.page(from);
    session.wait(450); // the graph draws a few steps
    const int changes = pageChanges(session);
    step(session, u"key"_s, keys);
    QCOMPARE(session.dump()[u"page"_s].toInt(), to);
    QCOMPARE(pageChanges(session), changes + 1);
    QCOMPARE(session.dump()[u"graphColumn"_s].toInt(), 0);
    // The key of the page already shown changes nothing.
    step(session, u"key"_s, u"alt+%1"_s.arg(to + 1));
    QCOMPARE(pageChanges(session), changes + 1);
}

void tst_WindowActions::linksOpenFromTheKeyboard()
{
    Session session(Machine);
    session.page(6);
    session->window().findChild<QTabBar *>()->setFocus(); // where the focus is at start
    step(session, u"key"_s, u"tab"_s);
    QCOMPARE(session->window().focusWidget()->objectName(), u"UrlLabel1"_s);
    step(session, u"key"_s, u"return"_s);
    QVERIFY(session.control(u"UrlLabel1"_s)[u"visited"_s].toBool());
    step(session, u"key"_s, u"tab"_s);
    QCOMPARE(session->window().focusWidget()->objectName(), u"UrlLabel2"_s);
    step(session, u"key"_s, u"space"_s);
    QCOMPARE(session.dump()[u"shellOpened"_s].toVariant().toStringList(),
             (QStringList{u"https://pelzora.org/"_s, u"mailto:team@pelzora.org"_s}));
}

void tst_WindowActions::closeKeys()
{
    for (const QString &keys : {u"ctrl+q"_s, u"ctrl+w"_s}) {
        Session session;
        QVERIFY(session->window().isVisible());
        step(session, u"key"_s, keys);
        QVERIFY2(!session->window().isVisible(), qPrintable(keys));
    }
}

QTEST_MAIN(tst_WindowActions)
#include "tst_windowactions.moc"
