// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UiLanguage.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "controls/drawing/TImage.h"
#include "controls/drawing/TPaintBox.h"
#include "controls/lists/TListBox.h"
#include "controls/text/TLabel.h"
#include "report/ReportBuilder.h"
#include "report/TextReportWriter.h"
#include "report/WindowFactReader.h"
#include "support/Session.h"
#include "support/TestData.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpression>
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

// A report without its time, which moves on between two copies.
QString timeless(QString report)
{
    const qsizetype line = report.indexOf(u"\n时间: "_s);
    return line < 0 ? report : report.remove(line, report.indexOf(u'\n', line + 1) - line);
}

} // namespace

class tst_WindowActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QGuiApplication::clipboard()->clear();
        UiLanguage::install(UiLanguage::Language::Chinese);
    }
    void copyFocusedValue();
    void copySelectionOnly();
    void copyValueUnderThePointer();
    void contextMenuCopiesTheValueUnderIt();
    void processorReportCopiesAsLinesWithoutNul();
    void copyAllIsTheReport();
    void copyAllInTheOtherLanguage_data();
    void copyAllInTheOtherLanguage();
    void pageKeysRunThePageChangeHandler();
    void pageKeysRunThePageChangeHandler_data();
    void linksOpenFromTheKeyboard();
    void closeKeys();
    void backtabGoesBackAPage();
    void tabReachesEveryValueInReadingOrder();
    void arrowsChooseOneLineOfTheProcessorReport();
    void mouseSelectionsGoToThePrimarySelection();
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
    const QString report = timeless(
        TextReportWriter::write(ReportBuilder::build(WindowFactReader::read(session->window()))).remove(QChar(u'\0')));
    QVERIFY(!report.isEmpty());
    QCOMPARE(timeless(clipboard(session)), report);
    QGuiApplication::clipboard()->clear();
    session.steps(R"([{ "contextMenu": "Label17", "choose": "复制全部" }])");
    QCOMPARE(timeless(clipboard(session)), report);
    // For sharing: the same report without the host name and the address, and saying so.
    session.steps(R"([{ "contextMenu": "Label17", "choose": "复制全部（隐去个人信息）" }])");
    const QString redacted = clipboard(session);
    QVERIFY(redacted.contains(u"\n主机: <host-1>\n已隐去个人信息: "_s));
    QVERIFY(redacted.contains(u"\n计算机IP地址: <ip-1>\n计算机名: <host-1>\n"_s));
    QVERIFY(!redacted.contains(u"pc1"_s) && !redacted.contains(u"192.0.2.2"_s));
}

namespace {

// The report without its second line, the time, which moves on between two copies.
QString withoutTime(const QString &report)
{
    QStringList lines = report.split(u'\n');
    lines.removeAt(1);
    return lines.join(u'\n');
}

// The whole report as a window speaking the language copies it.
QString copiedAll(UiLanguage::Language language, const QByteArray &machine)
{
    UiLanguage::install(language);
    Session session(machine);
    session.wait(1200);
    step(session, u"key"_s, u"ctrl+shift+c"_s);
    return withoutTime(clipboard(session));
}

} // namespace

void tst_WindowActions::copyAllInTheOtherLanguage_data()
{
    QTest::addColumn<UiLanguage::Language>("shown");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("machine");
    QTest::newRow("English from Chinese") << UiLanguage::Language::Chinese << u"复制全部（英文）"_s << Machine;
    QTest::newRow("Chinese from English") << UiLanguage::Language::English << u"Copy all (Chinese)"_s << Machine;
    QTest::newRow("Arm board") << UiLanguage::Language::Chinese << u"复制全部（英文）"_s
                               << testData(u"cpuinfo/rk3588.json"_s);
}

// The window keeps its language; the copy reads as a window speaking the other would copy it.
void tst_WindowActions::copyAllInTheOtherLanguage()
{
    QFETCH(UiLanguage::Language, shown);
    QFETCH(QString, entry);
    QFETCH(QByteArray, machine);
    const QString other = copiedAll(UiLanguage::other(shown), machine);
    UiLanguage::install(shown);
    Session session(machine);
    session.wait(1200);
    const QString tab = session->window().notebook()->tabText(0);
    session.steps(
        QJsonDocument(QJsonArray{QJsonObject{{u"contextMenu"_s, u"Label17"_s}, {u"choose"_s, entry}}}).toJson());
    QCOMPARE(withoutTime(clipboard(session)), other);
    QCOMPARE(session->window().notebook()->tabText(0), tab);
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

// What an X11 keyboard sends for Ctrl+Shift+Tab: Backtab, with Shift still held. X11 offers
// it to the shortcuts also as Ctrl+Backtab, so those keys may be registered in one spelling only:
// a second one makes the shortcut ambiguous, and an ambiguous shortcut does nothing.
void tst_WindowActions::backtabGoesBackAPage()
{
    Session session;
    int spellings = 0;
    for (const QAction *action : session->window().actions())
        for (const QKeySequence &keys : action->shortcuts()) {
            const QKeyCombination combination = keys[0];
            spellings += combination.key() == Qt::Key_Backtab
                || (combination.key() == Qt::Key_Tab && combination.keyboardModifiers().testFlag(Qt::ShiftModifier));
        }
    QCOMPARE(spellings, 1);
    session.page(2);
    QTest::failOnWarning(QRegularExpression(u"Ambiguous shortcut"_s));
    session->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&session->window()));
    QTest::keyClick(session->window().focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(session.dump()[u"page"_s].toInt(), 1);
}

void tst_WindowActions::tabReachesEveryValueInReadingOrder()
{
    const std::pair<int, QStringList> pages[] = {
        {0, {u"Img_Info"_s}},
        {1, {u"Label2"_s, u"Label4"_s, u"Label6"_s, u"Label8"_s, u"Label10"_s}},
        {2, {u"DriveComboBox1"_s, u"Label16"_s, u"Label14"_s, u"Label33"_s, u"Label22"_s, u"Label24"_s}},
        {4, {u"ListBox2"_s, u"Label26"_s, u"Label27"_s, u"Label25"_s}},
        {5,
         {u"Label17"_s, u"Label19"_s, u"Label31"_s, u"Label40"_s, u"Label42"_s, u"Label44"_s, u"Label46"_s,
          u"Label48"_s}},
    };
    Session session(Machine);
    session.wait(1200);
    for (const auto &[page, order] : pages) {
        session.page(page);
        auto *tabs = session->window().findChild<QTabBar *>();
        tabs->setFocus();
        QStringList reached;
        for (int i = 0; i <= order.size(); ++i) {
            step(session, u"key"_s, u"tab"_s);
            QWidget *focused = session->window().focusWidget();
            reached.append(focused == tabs ? u"tabs"_s : focused->objectName());
            if (qobject_cast<TLabel *>(focused)) {
                QGuiApplication::clipboard()->clear();
                step(session, u"key"_s, u"ctrl+c"_s);
                QCOMPARE(clipboard(session), session.text(focused->objectName()));
            }
        }
        QCOMPARE(reached, order + QStringList{u"tabs"_s}); // and round again
        step(session, u"key"_s, u"shift+tab"_s);
        QCOMPARE(session->window().focusWidget()->objectName(), order.constLast());
    }
}

void tst_WindowActions::arrowsChooseOneLineOfTheProcessorReport()
{
    Session session(Machine);
    session.wait(100);
    auto *report = session->window().findChild<TImage *>(u"Img_Info"_s);
    session->window().findChild<QTabBar *>()->setFocus();
    step(session, u"key"_s, u"tab"_s);
    QCOMPARE(report->selectedLine(), 0);
    step(session, u"key"_s, u"down"_s);
    step(session, u"key"_s, u"ctrl+c"_s);
    QCOMPARE(clipboard(session), u"   - 供货商ID: GenuineIine"_s);
    step(session, u"key"_s, u"end"_s);
    step(session, u"key"_s, u"ctrl+c"_s);
    QCOMPARE(clipboard(session), report->textLines().constLast());
}

void tst_WindowActions::mouseSelectionsGoToThePrimarySelection()
{
    Session session(Machine);
    session.wait(1200);
    session.page(5);
    auto *address = session->window().findChild<TLabel *>(u"Label17"_s);
    QTest::mouseDClick(address, Qt::LeftButton);
    QCOMPARE(session.dump()[u"primarySelection"_s].toString(), u"192.0.2.2"_s);
    const QPoint afterThreeDigits(QFontMetrics(address->font()).horizontalAdvance(u"192"_s), 5);
    QTest::mousePress(address, Qt::LeftButton, {}, QPoint(0, 5));
    QTest::mouseMove(address, afterThreeDigits);
    QTest::mouseRelease(address, Qt::LeftButton, {}, afterThreeDigits);
    QCOMPARE(session.dump()[u"primarySelection"_s].toString(), u"192"_s);
    QCOMPARE(clipboard(session), QString()); // the clipboard is Ctrl+C's
    session.page(0);
    auto *report = session->window().findChild<TImage *>(u"Img_Info"_s);
    QTest::mouseClick(report, Qt::LeftButton, {}, report->runs().constFirst().position + QPoint(2, 2));
    QCOMPARE(session.dump()[u"primarySelection"_s].toString(), u"处理器"_s);
}

QTEST_MAIN(tst_WindowActions)
#include "tst_windowactions.moc"
