// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FailureReport.h"
#include "app/TTimer.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "platform/CpuidSource.h"
#include "platform/Failure.h"
#include "support/Session.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A machine whose processor query fails, to see where an escaping failure goes.
class FailingCpuPlatform final : public Platform
{
public:
    CpuidSource &cpuid() override { return m_cpu; }
    MemorySource &memory() override { return m_fake.memory(); }
    DriveSource &drives() override { return m_fake.drives(); }
    ServiceSource &services() override { return m_fake.services(); }
    RegistrySource &registry() override { return m_fake.registry(); }
    PrinterSource &printers() override { return m_fake.printers(); }
    NetworkSource &network() override { return m_fake.network(); }
    ClockSource &clock() override { return m_fake.clock(); }
    ShellSource &shell() override { return m_fake.shell(); }
    SystemSource &system() override { return m_fake.system(); }

private:
    class FailingCpuid final : public CpuidSource
    {
    public:
        bool hasCpuid() const override { return true; }
        CpuidRegisters cpuid(quint32) const override { throw Failure(u"out of drawing resources"_s); }
    };

    FakePlatform m_fake;
    FailingCpuid m_cpu;
};

int eventCount(const Session &session, const QString &handler)
{
    return session.dump().value(u"events"_s).toObject().value(handler).toInt();
}

} // namespace

class tst_FormMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void window();
    void startUpTexts();
    void startUpTexts_data();
    void geometry();
    void geometry_data();
    void pagesStartAtTheNotebooksPageOrigin();
    void pageChangeRunsOnlyOnRealChanges();
    void timersStartAsDesigned();
    void oneShotTimersSwitchThemselvesOff();
    void timersNeverRunFasterThanTheMinimumPeriod();
    void escapingFailureIsReportedOnceAndTheProgramGoesOn();
};

void tst_FormMain::window()
{
    Session session;
    const QJsonObject window = session.dump().value(u"window"_s).toObject();
    QCOMPARE(window.value(u"title"_s).toString(), u"Pelzora"_s);
    QCOMPARE(window.value(u"clientWidth"_s).toInt(), 369);
    QCOMPARE(window.value(u"clientHeight"_s).toInt(), 377);
    QVERIFY(window.value(u"fixedSize"_s).toBool());
    QVERIFY(window.value(u"minimizeButton"_s).toBool());
    QVERIFY(!window.value(u"maximizeButton"_s).toBool());
    QVERIFY(!session->window().windowIcon().isNull());
    QCOMPARE(session.dump().value(u"page"_s).toInt(), 0);
    const QStringList tabs{u"处理器"_s, u"内存"_s, u"硬盘"_s, u"系统"_s, u"打印机"_s, u"其他"_s, u"关于"_s};
    QCOMPARE(session.dump().value(u"tabs"_s).toVariant().toStringList(), tabs);
}

void tst_FormMain::startUpTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("color");
    const QString red = u"#FF0000"_s;
    const QString black = u"#000000"_s;
    const auto row = [](const QString &name, const QString &text, const QString &color) {
        QTest::newRow(qPrintable(name)) << name << text << color;
    };
    row(u"Label1"_s, u"总的物理内存:"_s, red);
    row(u"Label3"_s, u"可用物理内存:"_s, red);
    row(u"Label5"_s, u"总的虚拟内存:"_s, red);
    row(u"Label7"_s, u"可用虚拟内存:"_s, red);
    row(u"Label9"_s, u"已加载内存:"_s, red);
    row(u"Label11"_s, u"物理内存"_s, black);
    row(u"Label12"_s, u"虚拟内存"_s, black);
    row(u"Label15"_s, u"驱动器序列号:"_s, red);
    row(u"Label13"_s, u"驱动器分区类型:"_s, red);
    row(u"Label34"_s, u"驱动器类型:"_s, red);
    row(u"Label21"_s, u"总磁盘大小:"_s, red);
    row(u"Label23"_s, u"磁盘空闲:"_s, red);
    row(u"GroupBox4"_s, u"已安装的服务"_s, black);
    row(u"GroupBox6"_s, u"已安装的软件"_s, black);
    row(u"GroupBox5"_s, u"HDD"_s, black);
    row(u"GroupBox1"_s, QString(), black);
    row(u"GroupBox2"_s, QString(), black);
    row(u"GroupBox3"_s, QString(), black);
    row(u"Label30"_s, u"已安装打印机"_s, black);
    row(u"Label28"_s, u"默认打印机名称:"_s, red);
    row(u"Label29"_s, u"打印机精度:"_s, red);
    row(u"GroupBox7"_s, u"网络"_s, black);
    row(u"Label18"_s, u"计算机IP地址:"_s, red);
    row(u"Label20"_s, u"计算机名"_s, red);
    row(u"GroupBox8"_s, u"操作系统"_s, black);
    row(u"Label32"_s, u"系统运行时间:"_s, red);
    row(u"Label35"_s, u"Pelzora"_s, black);
    row(u"LabVer"_s, u"(Ver 2.5)"_s, black);
    row(u"Label37"_s, u"主页:"_s, black);
    row(u"Label38"_s, u"邮箱:"_s, black);
    row(u"UrlLabel1"_s, u"https://pelzora.org/"_s, black);
    row(u"UrlLabel2"_s, u"team@pelzora.org"_s, black);
    // Value labels keep their design texts until a handler writes them.
    for (const QString &name : {u"Label2"_s, u"Label4"_s, u"Label6"_s, u"Label8"_s})
        row(name, u"0"_s, black);
    row(u"Label10"_s, u"0 %"_s, black);
    for (const QString &name : {u"Label16"_s, u"Label14"_s, u"Label33"_s, u"Label22"_s, u"Label24"_s, u"Label26"_s,
                                u"Label27"_s, u"Label25"_s, u"Label17"_s, u"Label19"_s, u"Label31"_s})
        row(name, u"<Unknown>"_s, black);
}

void tst_FormMain::startUpTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, color);
    Session session;
    const QJsonObject control = session.control(name);
    QCOMPARE(control.value(u"text"_s).toString(), text);
    QCOMPARE(control.value(u"color"_s).toString(), color);
    QCOMPARE(control.value(u"font"_s).toObject().value(u"family"_s).toString(), u"Arial"_s);
}

void tst_FormMain::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("sizing"); // "fixed", "left" or "right": which edge an auto-sized label keeps
    const auto row = [](const char *name, const char *parent, QRect bounds, const char *sizing = "fixed") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << bounds
                            << QString::fromLatin1(sizing);
    };
    row("TabbedNotebook1", "FormMain", {0, 0, 369, 377});
    row("Img_Info", "page0", {8, 16, 345, 321});

    row("GroupBox1", "page1", {8, 16, 345, 89});
    for (int i = 0; i < 4; ++i) {
        row(qPrintable(u"Label%1"_s.arg(2 * i + 1)), "GroupBox1", {16, 16 + 16 * i, 0, 0}, "left");
        row(qPrintable(u"Label%1"_s.arg(2 * i + 2)), "GroupBox1", {152, 16 + 16 * i, 0, 0}, "left");
    }
    row("GroupBox2", "page1", {8, 112, 345, 73});
    row("Label9", "GroupBox2", {16, 16, 0, 0}, "left");
    row("Label10", "GroupBox2", {104, 16, 0, 0}, "left");
    row("ProgressBar1", "GroupBox2", {48, 40, 241, 17});
    row("GroupBox3", "page1", {8, 192, 345, 145});
    for (const char *plot : {"Shape2", "Shape1", "PaintBox1", "PaintBox2"})
        row(plot, "GroupBox3", {16, 24, 313, 89});
    row("Shape3", "GroupBox3", {16, 120, 9, 9});
    row("Shape4", "GroupBox3", {144, 120, 9, 9});
    row("Label11", "GroupBox3", {32, 118, 0, 0}, "left");
    row("Label12", "GroupBox3", {160, 118, 0, 0}, "left");

    row("GroupBox5", "page2", {8, 24, 345, 153});
    row("DriveComboBox1", "GroupBox5", {16, 24, 193, 20});
    const std::pair<const char *, const char *> diskRows[] = {{"Label15", "Label16"},
                                                              {"Label13", "Label14"},
                                                              {"Label34", "Label33"},
                                                              {"Label21", "Label22"},
                                                              {"Label23", "Label24"}};
    const int diskTops[] = {56, 72, 88, 112, 128};
    for (int i = 0; i < 5; ++i) {
        row(diskRows[i].first, "GroupBox5", {16, diskTops[i], 0, 0}, "left");
        row(diskRows[i].second, "GroupBox5", {128, diskTops[i], 0, 0}, "left");
    }
    row("FileListBox1", "GroupBox5", {208, 56, 65, 49});

    row("GroupBox4", "page3", {3, 16, 345, 153});
    row("ListBox1", "GroupBox4", {16, 24, 313, 113});
    row("GroupBox6", "page3", {3, 184, 342, 161});
    row("ListView1", "GroupBox6", {16, 24, 313, 129});

    row("Label30", "page4", {8, 24, 0, 0}, "left");
    row("ListBox2", "page4", {8, 40, 257, 89});
    row("Label28", "page4", {8, 152, 0, 0}, "left");
    row("Label26", "page4", {8, 168, 0, 0}, "left");
    row("Label27", "page4", {8, 184, 0, 0}, "left");
    row("Label29", "page4", {8, 208, 0, 0}, "left");
    row("Label25", "page4", {8, 224, 0, 0}, "left");

    row("GroupBox7", "page5", {8, 32, 337, 65});
    row("Label18", "GroupBox7", {16, 24, 0, 0}, "left");
    row("Label17", "GroupBox7", {104, 24, 0, 0}, "left");
    row("Label20", "GroupBox7", {16, 40, 0, 0}, "left");
    row("Label19", "GroupBox7", {104, 40, 0, 0}, "left");
    row("GroupBox8", "page5", {8, 104, 337, 73});
    row("Label32", "GroupBox8", {16, 24, 0, 0}, "left");
    row("Label31", "GroupBox8", {16, 40, 0, 0}, "left");

    row("Image1", "page6", {144, 24, 32, 32});
    row("Label35", "page6", {96, 72, 0, 0}, "left");
    row("LabVer", "page6", {144, 96, 0, 0}, "left");
    row("Label37", "page6", {95, 128, 0, 0}, "right"); // left + width
    row("Label38", "page6", {96, 152, 0, 0}, "right");
    row("UrlLabel1", "page6", {112, 128, 0, 0}, "left");
    row("UrlLabel2", "page6", {112, 152, 0, 0}, "left");
}

void tst_FormMain::geometry()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, bounds);
    QFETCH(QString, sizing);
    Session session;
    const QJsonObject control = session.control(name);
    QVERIFY2(!control.isEmpty(), qPrintable(u"no control "_s + name));
    QCOMPARE(control.value(u"parent"_s).toString(), parent);
    const QJsonArray g = control.value(u"geometry"_s).toArray();
    const QRect actual(g.at(0).toInt(), g.at(1).toInt(), g.at(2).toInt(), g.at(3).toInt());
    if (sizing == u"fixed"_s) {
        QCOMPARE(actual, bounds);
    } else {
        // An auto-sized label keeps one edge and takes its text's size.
        QCOMPARE(actual.top(), bounds.top());
        QCOMPARE(sizing == u"left"_s ? actual.left() : actual.left() + actual.width(), bounds.left());
        QVERIFY(actual.width() > 0);
        QVERIFY(actual.height() >= 11 && actual.height() <= 16);
    }
}

void tst_FormMain::pagesStartAtTheNotebooksPageOrigin()
{
    Session session;
    const TTabbedNotebook *notebook = session->window().notebook();
    for (int i = 0; i < notebook->pageCount(); ++i)
        QCOMPARE(notebook->page(i)->mapTo(notebook, QPoint(0, 0)), QPoint(4, 25));
}

void tst_FormMain::pageChangeRunsOnlyOnRealChanges()
{
    Session session;
    session.wait(20);
    QCOMPARE(eventCount(session, u"TabbedNotebook1Change"_s), 0); // not at start-up
    session.page(0);
    QCOMPARE(eventCount(session, u"TabbedNotebook1Change"_s), 0); // the shown tab clicked again
    session.page(3);
    QCOMPARE(eventCount(session, u"TabbedNotebook1Change"_s), 1);
    session.page(3);
    QCOMPARE(eventCount(session, u"TabbedNotebook1Change"_s), 1);
    session.page(1);
    session.page(0);
    QCOMPARE(eventCount(session, u"TabbedNotebook1Change"_s), 3);
    QCOMPARE(session.dump().value(u"page"_s).toInt(), 0);
}

void tst_FormMain::timersStartAsDesigned()
{
    Session session;
    const QJsonObject timers = session.dump().value(u"timers"_s).toObject();
    const int intervals[] = {1, 1, 200, 1, 1000, 500, 1000};
    for (int i = 0; i < 7; ++i) {
        const QJsonObject timer = timers.value(u"Timer%1"_s.arg(i + 1)).toObject();
        QCOMPARE(timer.value(u"interval"_s).toInt(), intervals[i]);
        QVERIFY(timer.value(u"enabled"_s).toBool());
    }
}

void tst_FormMain::oneShotTimersSwitchThemselvesOff()
{
    Session session;
    session.wait(700);
    const QJsonObject timers = session.dump().value(u"timers"_s).toObject();
    const auto enabled = [&](const char *name) {
        return timers.value(QString::fromLatin1(name)).toObject().value(u"enabled"_s).toBool();
    };
    QVERIFY(!enabled("Timer1"));
    QVERIFY(!enabled("Timer4"));
    QVERIFY(!enabled("Timer6")); // the fill completed
    QVERIFY(enabled("Timer2"));
    QVERIFY(enabled("Timer3"));
    QVERIFY(enabled("Timer5"));
    QVERIFY(enabled("Timer7"));
}

void tst_FormMain::timersNeverRunFasterThanTheMinimumPeriod()
{
    QObject owner;
    TTimer timer(u"Timer2"_s, 1, &owner);
    int ticks = 0;
    connect(&timer, &TTimer::timeout, &owner, [&] { ++ticks; });
    QTest::qWait(300);
    QVERIFY2(ticks <= 300 / TTimer::MinimumPeriod + 2, qPrintable(QString::number(ticks)));
    QVERIFY(ticks > 0);
    timer.setEnabled(false);
    const int stopped = ticks;
    QTest::qWait(50);
    QCOMPARE(ticks, stopped);
}

void tst_FormMain::escapingFailureIsReportedOnceAndTheProgramGoesOn()
{
    FailingCpuPlatform platform;
    QStringList reports;
    const FailureReport failureReport([&](const QString &message) { reports.append(message); });
    TFormMain window(platform, failureReport);
    window.show();
    QTest::qWait(100);
    QCOMPARE(reports, QStringList{u"out of drawing resources"_s});
    QVERIFY(!window.timers().at(0)->isEnabled());
    QVERIFY(window.timers().at(1)->isEnabled());
}

QTEST_MAIN(tst_FormMain)
#include "tst_formmain.moc"
