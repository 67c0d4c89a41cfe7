// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FailureReport.h"
#include "app/TTimer.h"
#include "app/UnitFormMain.h"
#include "controls/lists/TListView.h"
#include "pages/SystemPage.h"
#include "platform/Failure.h"
#include "platform/RegistrySource.h"
#include "support/Session.h"

#include <QJsonArray>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace {

bool timerEnabled(const Session &session, const QString &name)
{
    return session.dump()[u"timers"_s][name][u"enabled"_s].toBool();
}

QStringList serviceLines(const Session &session)
{
    QStringList lines;
    for (const auto &line : session.control(u"ListBox1"_s)[u"items"_s].toArray())
        lines.append(line.toString());
    return lines;
}

// The software list as "caption|command" texts, in shown order.
QStringList programs(const QList<TListView::Item> &items)
{
    QStringList result;
    for (const TListView::Item &item : items)
        result.append(item.caption + u'|' + item.subItems.join(u'|'));
    return result;
}

QStringList programs(const Session &session)
{
    QStringList result;
    for (const auto &item : session.control(u"ListView1"_s)[u"viewItems"_s].toArray()) {
        QStringList fields{item[u"caption"_s].toString()};
        for (const auto &sub : item[u"sub"_s].toArray())
            fields.append(sub.toString());
        result.append(fields.join(u'|'));
    }
    return result;
}

QByteArray servicesFixture(const QStringList &displayNames, bool managerOpens = true)
{
    const QJsonObject services{{u"managerOpens"_s, managerOpens},
                               {u"displayNames"_s, QJsonArray::fromStringList(displayNames)}};
    return QJsonDocument(QJsonObject{{u"services"_s, services}}).toJson();
}

QJsonObject text(const QString &data, const char *type = "REG_SZ")
{
    return {{u"type"_s, QString::fromLatin1(type)}, {u"data"_s, data}};
}

// A program key with a display name and an uninstall command, both text.
QJsonObject program(const QString &keyName, const QString &displayName, const QString &command = {})
{
    QJsonObject values{{u"DisplayName"_s, text(displayName)}};
    if (!command.isEmpty())
        values.insert(u"UninstallString"_s, text(command));
    return {{u"name"_s, keyName}, {u"values"_s, values}};
}

QByteArray uninstallFixture(const QJsonArray &keys, bool keyOpens = true)
{
    const QJsonObject uninstall{{u"keyOpens"_s, keyOpens}, {u"keys"_s, keys}};
    return QJsonDocument(QJsonObject{{u"uninstall"_s, uninstall}}).toJson();
}

// The fake machine, except that opening one program's key fails the first `failures` times.
class FlakyRegistryPlatform final : public Platform
{
public:
    FlakyRegistryPlatform(FakeMachine machine, const QString &failingKey, int failures)
        : m_fake(std::move(machine))
        , m_registry(m_fake.registry(), RegistrySource::UninstallKey + u'\\' + failingKey, failures)
    {
    }

    CpuidSource &cpuid() override { return m_fake.cpuid(); }
    MemorySource &memory() override { return m_fake.memory(); }
    DriveSource &drives() override { return m_fake.drives(); }
    ServiceSource &services() override { return m_fake.services(); }
    RegistrySource &registry() override { return m_registry; }
    PrinterSource &printers() override { return m_fake.printers(); }
    NetworkSource &network() override { return m_fake.network(); }
    ClockSource &clock() override { return m_fake.clock(); }
    ShellSource &shell() override { return m_fake.shell(); }
    SystemSource &system() override { return m_fake.system(); }

private:
    class FlakyRegistry final : public RegistrySource
    {
    public:
        FlakyRegistry(RegistrySource &inner, QString failingPath, int failures)
            : m_inner(inner)
            , m_failingPath(std::move(failingPath))
            , m_failures(failures)
        {
        }

        std::unique_ptr<RegistryKey> openKey(const QString &path) override
        {
            if (path == m_failingPath && m_failures > 0) {
                --m_failures;
                throw Failure(u"registry busy"_s);
            }
            return m_inner.openKey(path);
        }

    private:
        RegistrySource &m_inner;
        QString m_failingPath;
        int m_failures;
    };

    FakePlatform m_fake;
    FlakyRegistry m_registry;
};

struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

} // namespace

class tst_SystemPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void servicesKeepTheManagersOrder();
    void refusedManagerGivesAnEmptyListWithoutAMessage();
    void everyServiceIsListedWhateverTheBatches();
    void softwareFill_data();
    void softwareFill();
    void captionsSortByLanguageWithCaseDistinguished();
    void listFilledUnseenIsInOrderWhenFirstShown();
    void failedFillShowsWhatItHadAndStartsAfreshNextTime();
    void selectionShowsOnlyWhileTheListHasTheFocus();
    void shownListRedrawsOncePerFill();
    void tooltipsTellWhatTheListsDoNotDraw();
    void longCaptionsShowTheLinesThatFit();
    void programsTheSystemNeedsShowNoCommand();
};

void tst_SystemPage::servicesKeepTheManagersOrder()
{
    const QStringList names{u"Windows Update"_s, u"Apache2"_s, u"print spooler"_s, u"Apache2"_s, u"Ärger"_s};
    Session session(servicesFixture(names));
    QTRY_VERIFY(!timerEnabled(session, u"Timer4"_s));
    QCOMPARE(serviceLines(session), names);
    QVERIFY(session->reports().isEmpty());
}

void tst_SystemPage::refusedManagerGivesAnEmptyListWithoutAMessage()
{
    Session session(servicesFixture({u"Hidden"_s}, false));
    QTRY_VERIFY(!timerEnabled(session, u"Timer4"_s));
    QVERIFY(serviceLines(session).isEmpty());
    QVERIFY(session->reports().isEmpty());
}

void tst_SystemPage::everyServiceIsListedWhateverTheBatches()
{
    QStringList names;
    for (int i = 0; i < 2 * SystemPage::ServiceBatchSize + 3; ++i)
        names.append(u"Service %1"_s.arg(i));
    Session session(servicesFixture(names));
    QTRY_VERIFY(!timerEnabled(session, u"Timer4"_s));
    QCOMPARE(serviceLines(session), names);
}

void tst_SystemPage::softwareFill_data()
{
    QTest::addColumn<QByteArray>("fixture");
    QTest::addColumn<QStringList>("expected");

    const QJsonObject editor = program(u"Editor"_s, u"Editor"_s, u"C:\\editor\\remove.exe"_s);
    const auto with = [&](const QJsonObject &key) {
        return uninstallFixture({key, editor});
    };
    const auto keyWith = [](const QJsonObject &values) {
        return QJsonObject{{u"name"_s, u"K"_s}, {u"values"_s, values}};
    };
    const QString editorLine = u"Editor|C:\\editor\\remove.exe"_s;

    QTest::newRow("no DisplayName") << with(keyWith({{u"UninstallString"_s, text(u"x.exe"_s)}}))
                                    << QStringList{editorLine};
    QTest::newRow("empty DisplayName") << with(program(u"K"_s, u""_s, u"x.exe"_s)) << QStringList{editorLine};
    QTest::newRow("DisplayName of no bytes")
        << with(keyWith({{u"DisplayName"_s, QJsonObject{{u"type"_s, u"REG_BINARY"_s}, {u"data"_s, QJsonArray()}}}}))
        << QStringList{editorLine};
    QTest::newRow("NUL inside the DisplayName")
        << with(program(u"K"_s, u"Viewer\u0000 trailing"_s, u"v.exe"_s)) << QStringList{editorLine, u"Viewer|v.exe"_s};
    QTest::newRow("no UninstallString") << with(program(u"K"_s, u"Viewer"_s)) << QStringList{editorLine, u"Viewer|"_s};
    QTest::newRow("expandable command taken as stored")
        << with(keyWith({{u"DisplayName"_s, text(u"Viewer"_s)},
                         {u"UninstallString"_s, text(u"%ProgramFiles%\\v.exe"_s, "REG_EXPAND_SZ")}}))
        << QStringList{editorLine, u"Viewer|%ProgramFiles%\\v.exe"_s};
    QTest::newRow("same display name twice") << uninstallFixture(
        {program(u"A"_s, u"Viewer"_s, u"a.exe"_s), editor, program(u"B"_s, u"Viewer"_s, u"b.exe"_s)})
                                             << QStringList{editorLine, u"Viewer|a.exe"_s, u"Viewer|b.exe"_s};
    QTest::newRow("numeric DisplayName") << with(
        keyWith({{u"DisplayName"_s, QJsonObject{{u"type"_s, u"REG_DWORD"_s}, {u"data"_s, 5}}}}))
                                         << QStringList{editorLine};
    QTest::newRow("binary UninstallString") << with(
        keyWith({{u"DisplayName"_s, text(u"Viewer"_s)},
                 {u"UninstallString"_s, QJsonObject{{u"type"_s, u"REG_BINARY"_s}, {u"data"_s, QJsonArray{1, 2}}}}}))
                                            << QStringList{editorLine, u"Viewer|"_s};
    QTest::newRow("list of texts as DisplayName") << with(keyWith(
        {{u"DisplayName"_s, QJsonObject{{u"type"_s, u"REG_MULTI_SZ"_s}, {u"data"_s, QJsonArray{u"Viewer"_s}}}}}))
                                                  << QStringList{editorLine};
    QTest::newRow("DisplayName that cannot be read") << with(keyWith(
        {{u"DisplayName"_s, QJsonObject{{u"type"_s, u"REG_SZ"_s}, {u"data"_s, u"Viewer"_s}, {u"readFails"_s, true}}}}))
                                                     << QStringList{editorLine};
    QTest::newRow("UninstallString that cannot be read")
        << with(keyWith({{u"DisplayName"_s, text(u"Viewer"_s)},
                         {u"UninstallString"_s,
                          QJsonObject{{u"type"_s, u"REG_SZ"_s}, {u"data"_s, u"v.exe"_s}, {u"readFails"_s, true}}}}))
        << QStringList{editorLine, u"Viewer|"_s};
    QTest::newRow("key that cannot be opened")
        << with(QJsonObject{{u"name"_s, u"K"_s}, {u"opens"_s, false}}) << QStringList{editorLine};
    QTest::newRow("missing Uninstall key") << uninstallFixture({editor}, false) << QStringList();
    QTest::newRow("empty Uninstall key") << uninstallFixture({}) << QStringList();
}

// Every fill completes: the timer switches itself off and the list holds the readable programs.
void tst_SystemPage::softwareFill()
{
    QFETCH(QByteArray, fixture);
    QFETCH(QStringList, expected);
    Session session(fixture);
    session->window().Timer6Timer();
    QVERIFY(!timerEnabled(session, u"Timer6"_s));
    QCOMPARE(programs(session), expected);
    QVERIFY(session->reports().isEmpty());
}

void tst_SystemPage::captionsSortByLanguageWithCaseDistinguished()
{
    const QStringList captions{u"beta"_s, u"Zeta"_s, u"Alpha"_s, u"alpha"_s, u"Beta"_s, u"zeta"_s, u"Éclair"_s};
    QJsonArray keys;
    for (const QString &caption : captions) // key names are case-insensitive: number them
        keys.append(program(u"K%1"_s.arg(keys.size()), caption, u"remove "_s + caption));
    Session session(uninstallFixture(keys));
    QTRY_VERIFY(!timerEnabled(session, u"Timer6"_s));
    QStringList shown;
    for (const QString &line : programs(session))
        shown.append(line.section(u'|', 0, 0));
    // Case tells "alpha" from "Alpha"; a byte order would put every capital first.
    QCOMPARE(shown, (QStringList{u"alpha"_s, u"Alpha"_s, u"beta"_s, u"Beta"_s, u"Éclair"_s, u"zeta"_s, u"Zeta"_s}));
    QCOMPARE(programs(session).constFirst(), u"alpha|remove alpha"_s);
}

// Filled while another page shows, the list is put in order before it is first drawn.
void tst_SystemPage::listFilledUnseenIsInOrderWhenFirstShown()
{
    Session session(uninstallFixture({program(u"K1"_s, u"Beta"_s), program(u"K2"_s, u"alpha"_s)}));
    session.wait(700);
    session.page(3);
    const auto *list = session->window().findChild<TListView *>(u"ListView1"_s);
    QCOMPARE(list->item(0)->text(), u"alpha"_s);
    QCOMPARE(list->item(1)->text(), u"Beta"_s);
}

void tst_SystemPage::failedFillShowsWhatItHadAndStartsAfreshNextTime()
{
    FakeMachine machine;
    const QJsonObject fixture = QJsonDocument::fromJson(uninstallFixture({program(u"K1"_s, u"Zip"_s, u"z.exe"_s),
                                                                          program(u"K2"_s, u"Audio"_s, u"a.exe"_s),
                                                                          program(u"K3"_s, u"Maps"_s, u"m.exe"_s),
                                                                          program(u"K4"_s, u"Chat"_s, u"c.exe"_s)}))
                                    .object();
    FixtureLoader(u"test fixture"_s).apply(fixture, machine);
    FlakyRegistryPlatform platform(std::move(machine), u"K3"_s, 1);
    QStringList reports;
    const FailureReport failureReport([&](const QString &message) { reports.append(message); });
    TFormMain window(platform, failureReport);
    const TListView *list = window.findChild<TListView *>(u"ListView1"_s);
    TTimer *timer6 = window.timers().at(5);

    window.Timer6Timer();
    QCOMPARE(programs(list->viewItems()), (QStringList{u"Audio|a.exe"_s, u"Zip|z.exe"_s}));
    QVERIFY(timer6->isEnabled());
    QVERIFY(list->updatesEnabled());

    window.Timer6Timer();
    QCOMPARE(programs(list->viewItems()),
             (QStringList{u"Audio|a.exe"_s, u"Chat|c.exe"_s, u"Maps|m.exe"_s, u"Zip|z.exe"_s}));
    QVERIFY(!timer6->isEnabled());
    QVERIFY(reports.isEmpty());
}

void tst_SystemPage::selectionShowsOnlyWhileTheListHasTheFocus()
{
    Session session(uninstallFixture({program(u"K"_s, u"Editor"_s)}));
    session.page(3);
    TFormMain &window = session->window();
    window.Timer6Timer();
    auto *list = window.findChild<TListView *>(u"ListView1"_s);
    auto *services = window.findChild<QWidget *>(u"ListBox1"_s);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list->setCurrentRow(0);
    const QRgb highlight = list->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    const auto showsHighlight = [&] {
        const QImage image = list->viewport()->grab(list->visualItemRect(list->item(0))).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == highlight)
                    return true;
        return false;
    };

    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    QVERIFY(showsHighlight());
    services->setFocus();
    QTRY_VERIFY(!list->hasFocus());
    QVERIFY(!showsHighlight());
    QVERIFY(list->item(0)->isSelected());
}

void tst_SystemPage::shownListRedrawsOncePerFill()
{
    QJsonArray keys;
    for (int i = 0; i < 300; ++i)
        keys.append(program(u"K%1"_s.arg(i), u"Program %1"_s.arg(i)));
    Session session(uninstallFixture(keys));
    session.page(3);
    TFormMain &window = session->window();
    auto *list = window.findChild<TListView *>(u"ListView1"_s);
    PaintCounter paints(list->viewport());
    for (int fill = 0; fill < 2; ++fill) { // the first fill also brings the scroll bar
        paints.count = 0;
        window.Timer6Timer();
        QTRY_COMPARE(paints.count, 1);
        session.wait(150);
        QCOMPARE(paints.count, 1);
    }
}

void tst_SystemPage::tooltipsTellWhatTheListsDoNotDraw()
{
    Session session(R"({
        "services": { "displayNames": ["Secure Shell", "Printing"], "names": ["ssh.service"] },
        "uninstall": { "keys": [ { "name": "x", "values": {
            "DisplayName": { "type": "REG_SZ", "data": "<b>Tool</b>  &amp; more" },
            "UninstallString": { "type": "REG_SZ", "data": "flatpak uninstall org.example.Tool" },
            "InstallSource": { "type": "REG_SZ", "data": "Flatpak" } } } ] }
    })");
    session.wait(700);
    // Shown as plain text, whatever the names look like.
    const auto toolTip = [&session](const QString &list, int row) {
        QTextDocument shown;
        shown.setHtml(session->window().findChild<QListWidget *>(list)->item(row)->toolTip());
        return shown.toPlainText();
    };
    QCOMPARE(toolTip(u"ListBox1"_s, 0), u"ssh.service"_s);
    QCOMPARE(toolTip(u"ListBox1"_s, 1), u"Printing"_s); // no name of its own given
    QCOMPARE(toolTip(u"ListView1"_s, 0),
             u"<b>Tool</b>  &amp; more\n来源: Flatpak\n卸载命令: flatpak uninstall org.example.Tool"_s);
}

void tst_SystemPage::longCaptionsShowTheLinesThatFit()
{
    const QString caption = u"alsa-topology-conf-with-a-name-that-goes-on-and-on"_s;
    Session session(uninstallFixture({program(u"K"_s, caption)}));
    session.page(3);
    TFormMain &window = session->window();
    window.Timer6Timer();
    auto *list = window.findChild<TListView *>(u"ListView1"_s);
    const QRect cell = list->visualItemRect(list->item(0));
    const QImage image = list->viewport()->grab(cell).toImage();
    QList<int> inkRows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) {
                inkRows.append(y);
                break;
            }
    QVERIFY(!inkRows.isEmpty());
    // Two whole lines, and not a third cut through at the cell's bottom.
    const int lineSpacing = QFontMetrics(list->font()).lineSpacing();
    QVERIFY(inkRows.constLast() >= inkRows.constFirst() + lineSpacing);
    QVERIFY(inkRows.constLast() < inkRows.constFirst() + 2 * lineSpacing);
    QCOMPARE(session.control(u"ListView1"_s)[u"viewItems"_s][0][u"caption"_s].toString(), caption);
}

void tst_SystemPage::programsTheSystemNeedsShowNoCommand()
{
    const QString command = u"apt-get remove libreoffice-style-breeze-with-a-long-name"_s;
    Session session(R"({ "uninstall": { "keys": [
        { "name": "bash", "values": { "DisplayName": { "type": "REG_SZ", "data": "bash" },
                                      "UninstallString": { "type": "REG_SZ", "data": "apt-get remove bash" },
                                      "NoRemove": { "type": "REG_DWORD", "data": 1 } } },
        { "name": "style", "values": {
            "DisplayName": { "type": "REG_SZ", "data": "libreoffice-style-breeze-with-a-long-name" },
            "UninstallString": { "type": "REG_SZ", "data": "apt-get remove libreoffice-style-breeze-with-a-long-name" },
            "NoRemove": { "type": "REG_DWORD", "data": 0 } } } ] } })");
    session.wait(700);
    const QJsonArray shown = session.control(u"ListView1"_s)[u"viewItems"_s].toArray();
    QCOMPARE(shown.at(0)[u"sub"_s].toArray(), QJsonArray{QString()});
    QCOMPARE(shown.at(1)[u"sub"_s].toArray(), QJsonArray{command});
    const auto *list = session->window().findChild<QListWidget *>(u"ListView1"_s);
    QCOMPARE(list->item(0)->data(Qt::AccessibleDescriptionRole).toString(), u"系统必需"_s);
    QTextDocument bash;
    bash.setHtml(list->item(0)->toolTip());
    QCOMPARE(bash.toPlainText(), u"bash\n系统必需"_s);
    // However narrow the room, a command stays on its line.
    QTextDocument tip;
    tip.setHtml(list->item(1)->toolTip());
    tip.setTextWidth(100);
    QCOMPARE_GT(tip.size().width(), 100); // laid out wider than the room: nothing wrapped
    const QTextBlock commandLine = tip.firstBlock();
    QCOMPARE(tip.blockCount(), 1);
    QCOMPARE(commandLine.layout()->lineCount(), 2); // the name, the command: the break between them only
    QCOMPARE(commandLine.layout()->lineAt(1).textLength(), int(u"卸载命令: "_s.size() + command.size()));
}

QTEST_MAIN(tst_SystemPage)
#include "tst_systempage.moc"
