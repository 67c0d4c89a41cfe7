// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "controls/text/TLabel.h"
#include "support/Session.h"

#include <QJsonArray>

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A machine with a drive C that answers every disk step of the tick, so the
// network and uptime steps between and after them run; host and tick count as given.
QByteArray machine(const QByteArray &host, const QByteArray &tickCount = "0")
{
    return R"({ "drives": [ { "letter": "C", "type": 3, "label": "System", "serial": "0x0A1B2C3D",
                              "fileSystem": "NTFS", "totalBytes": 1048576, "freeBytes": 1048576 } ],
                "host": )"
        + host + R"(, "tickCount": [ ")" + tickCount + R"(" ] })";
}

struct Network
{
    int startups = 0;
    int cleanups = 0;
};

Network networkCounters(const Session &session)
{
    const QJsonObject network = session.dump().value(u"network"_s).toObject();
    return {network.value(u"startups"_s).toInt(), network.value(u"cleanups"_s).toInt()};
}

} // namespace

class tst_OtherPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void uptimeText_data();
    void uptimeText();
    void severalAddressesShowTheLast();
    void hostWithoutAddressShowsOnlyItsName_data();
    void hostWithoutAddressShowsOnlyItsName();
    void failedNameRequestShowsNeitherNameNorAddress();
    void nameIsReadAsItsBufferHoldsIt_data();
    void nameIsReadAsItsBufferHoldsIt();
    void everyStartUpIsCleanedUpWithinItsTick();
    void theTimerFillsThePageWhileItIsHidden();
    void systemSummary_data();
    void systemSummary();
    void systemSummaryInThePagesStyle();
};

void tst_OtherPage::uptimeText_data()
{
    QTest::addColumn<QByteArray>("milliseconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("just started") << "0"_ba << u"运行时间: 0 天 0 小时 0 分 0 秒"_s;
    QTest::newRow("one of each, 999 ms dropped") << "90061999"_ba << u"运行时间: 1 天 1 小时 1 分 1 秒"_s;
    QTest::newRow("2 d 3 h 4 min 5 s") << "183845000"_ba << u"运行时间: 2 天 3 小时 4 分 5 秒"_s;
    QTest::newRow("a day less 1 ms") << "86399999"_ba << u"运行时间: 0 天 23 小时 59 分 59 秒"_s;
    QTest::newRow("2^31 ms") << "2147483648"_ba << u"运行时间: 24 天 20 小时 31 分 23 秒"_s;
    QTest::newRow("2^32 - 1 ms") << "4294967295"_ba << u"运行时间: 49 天 17 小时 2 分 47 秒"_s;
    // A 32-bit count would start again from 0 here.
    QTest::newRow("2^32 ms") << "4294967296"_ba << u"运行时间: 49 天 17 小时 2 分 47 秒"_s;
    QTest::newRow("50 days") << "4320000000"_ba << u"运行时间: 50 天 0 小时 0 分 0 秒"_s;
    QTest::newRow("2^64 - 1 ms") << "0xFFFFFFFFFFFFFFFF"_ba << u"运行时间: 213503982334 天 14 小时 25 分 51 秒"_s;
}

void tst_OtherPage::uptimeText()
{
    QFETCH(QByteArray, milliseconds);
    QFETCH(QString, text);
    Session session(machine(R"({ "name": "pc1" })", milliseconds));
    session->window().Timer5Timer();
    QCOMPARE(session.text(u"Label31"_s), text);
}

void tst_OtherPage::severalAddressesShowTheLast()
{
    Session session(machine(R"({ "name": "pc1", "addresses": ["192.168.0.10", "10.0.0.2", "172.16.254.1"] })"));
    session->window().Timer5Timer();
    QCOMPARE(session.text(u"Label17"_s), u"172.16.254.1"_s);
    QCOMPARE(session.text(u"Label19"_s), u"pc1"_s);
}

void tst_OtherPage::hostWithoutAddressShowsOnlyItsName_data()
{
    QTest::addColumn<QByteArray>("host");
    QTest::newRow("name does not resolve") << R"({ "name": "pc1", "resolves": false, "addresses": ["10.0.0.2"] })"_ba;
    QTest::newRow("record without addresses") << R"({ "name": "pc1", "addresses": [] })"_ba;
}

void tst_OtherPage::hostWithoutAddressShowsOnlyItsName()
{
    QFETCH(QByteArray, host);
    Session session(machine(host));
    session->window().Timer5Timer();
    QCOMPARE(session.text(u"Label17"_s), QString());
    QCOMPARE(session.text(u"Label19"_s), u"pc1"_s);
}

void tst_OtherPage::failedNameRequestShowsNeitherNameNorAddress()
{
    Session session(machine(R"({ "name": "pc1", "addresses": ["10.0.0.2"] })"));
    session->window().Timer5Timer();
    QCOMPARE(session.text(u"Label17"_s), u"10.0.0.2"_s);
    session.steps(R"([ { "fixture": { "host": { "name": "pc1", "nameFails": true, "addresses": ["10.0.0.2"] } } } ])");
    session->window().Timer5Timer();
    QCOMPARE(session.text(u"Label17"_s), QString());
    QCOMPARE(session.text(u"Label19"_s), QString());
}

void tst_OtherPage::nameIsReadAsItsBufferHoldsIt_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("up to the first zero byte") << R"(pc1\u0000old)"_ba << u"pc1"_s;
    QTest::newRow("64 bytes") << QByteArray(64, 'n') << QString(64, u'n');
    QTest::newRow("longer than 64 bytes") << QByteArray(70, 'n') << QString(64, u'n');
}

void tst_OtherPage::nameIsReadAsItsBufferHoldsIt()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    Session session(machine(R"({ "name": ")" + name + R"(" })"));
    session->window().Timer5Timer();
    QCOMPARE(session.text(u"Label19"_s), shown);
}

void tst_OtherPage::everyStartUpIsCleanedUpWithinItsTick()
{
    Session session(machine(R"({ "name": "pc1", "addresses": ["10.0.0.2"] })"));
    const QList<QByteArray> hosts{
        R"({ "name": "pc1", "resolves": false })",
        R"({ "name": "pc1", "nameFails": true })",
        R"({ "name": "pc1", "addresses": [] })",
        R"({ "name": "pc1", "addresses": ["10.0.0.2", "10.0.0.3"] })",
    };
    int ticks = 0;
    for (const QByteArray &host : hosts) {
        session.steps(R"([ { "fixture": { "host": )" + host + R"( } } ])");
        session->window().Timer5Timer();
        ++ticks;
        const Network network = networkCounters(session);
        QCOMPARE(network.startups, 2 * ticks);
        QCOMPARE(network.cleanups, network.startups);
    }
}

void tst_OtherPage::theTimerFillsThePageWhileItIsHidden()
{
    Session session(machine(R"({ "name": "pc1", "addresses": ["192.168.0.10"] })", "93784000"));
    QCOMPARE(session.text(u"Label31"_s), u"<Unknown>"_s);
    session.wait(1500);
    QCOMPARE(session.dump().value(u"page"_s).toInt(), 0);
    QCOMPARE(session.text(u"Label17"_s), u"192.168.0.10"_s);
    QCOMPARE(session.text(u"Label19"_s), u"pc1"_s);
    QCOMPARE(session.text(u"Label31"_s), u"运行时间: 1 天 2 小时 3 分 4 秒"_s);
    const Network network = networkCounters(session);
    QVERIFY(network.startups >= 2);
    QCOMPARE(network.cleanups, network.startups);
}

void tst_OtherPage::systemSummary_data()
{
    QTest::addColumn<QByteArray>("system");
    QTest::addColumn<QStringList>("texts"); // Label40, 42, 44, 46, 48
    QTest::newRow("a desktop") << R"({ "osRelease": "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
                                       "kernelName": "Linux", "kernelRelease": "6.1.0-18-amd64", "machine": "x86_64",
                                       "cpus": { "online": 4, "cores": 2 }, "desktop": "GNOME", "session": "wayland" })"_ba
                               << QStringList{u"Debian GNU/Linux 12 (bookworm)"_s, u"Linux 6.1.0-18-amd64"_s,
                                              u"x86_64"_s, u"2 核 / 4 线程"_s, u"GNOME (Wayland)"_s};
    QTest::newRow("a server over ssh") << R"({ "osRelease": "NAME=\"Rocky Linux\"\nVERSION=\"9.3\"\n",
                                               "kernelRelease": "5.14.0", "machine": "aarch64",
                                               "cpus": { "online": 64 } })"_ba
                                       << QStringList{u"Rocky Linux 9.3"_s, u"Linux 5.14.0"_s, u"aarch64"_s,
                                                      u"64 线程"_s, u"无"_s};
    QTest::newRow("nothing known") << "{}"_ba << QStringList{u"未知"_s, u"未知"_s, u"未知"_s, u"未知"_s, u"无"_s};
}

// Read once at start: the labels hold the facts before any timer has run.
void tst_OtherPage::systemSummary()
{
    QFETCH(QByteArray, system);
    QFETCH(QStringList, texts);
    Session session(R"({ "system": )" + system + "}");
    const QStringList labels{u"Label40"_s, u"Label42"_s, u"Label44"_s, u"Label46"_s, u"Label48"_s};
    for (qsizetype i = 0; i < labels.size(); ++i)
        QCOMPARE(session.text(labels.at(i)), texts.at(i));
    session.steps(R"([ { "page": 5 }, { "contextMenu": "Label46", "choose": "复制" } ])");
    QCOMPARE(session.dump().value(u"clipboard"_s).toString(), texts.at(3));
}

// Red captions and black values in the window's face, in the page's free space, each value
// named by its caption; the controls of the form where they were.
void tst_OtherPage::systemSummaryInThePagesStyle()
{
    Session session;
    const QJsonObject box = session.control(u"GroupBox9"_s);
    QCOMPARE(box.value(u"text"_s).toString(), u"系统信息"_s);
    QCOMPARE(box.value(u"parent"_s).toString(), session.control(u"GroupBox8"_s).value(u"parent"_s).toString());
    const QJsonArray bounds = box.value(u"geometry"_s).toArray();
    QVERIFY(bounds.at(1).toInt() >= 104 + 73 + 4 && bounds.at(1).toInt() + bounds.at(3).toInt() <= 345);
    const QStringList captions{u"发行版:"_s, u"内核:"_s, u"架构:"_s, u"处理器:"_s, u"桌面:"_s};
    for (int row = 0; row < 5; ++row) {
        const QJsonObject caption = session.control(u"Label%1"_s.arg(39 + 2 * row));
        const QJsonObject value = session.control(u"Label%1"_s.arg(40 + 2 * row));
        QCOMPARE(caption.value(u"text"_s).toString(), captions.at(row));
        QCOMPARE(caption.value(u"color"_s).toString(), u"#FF0000"_s);
        QCOMPARE(value.value(u"color"_s).toString(), u"#000000"_s);
        QCOMPARE(caption.value(u"font"_s), session.control(u"Label18"_s).value(u"font"_s));
        QCOMPARE(value.value(u"font"_s), session.control(u"Label17"_s).value(u"font"_s));
        QCOMPARE(caption.value(u"geometry"_s).toArray().at(1), value.value(u"geometry"_s).toArray().at(1));
        const auto *label = session->window().findChild<TLabel *>(u"Label%1"_s.arg(40 + 2 * row));
        QCOMPARE(label->nameLabel()->caption(), captions.at(row));
    }
    QCOMPARE(session.control(u"GroupBox8"_s).value(u"geometry"_s).toArray(), (QJsonArray{8, 104, 337, 73}));
}

QTEST_MAIN(tst_OtherPage)
#include "tst_otherpage.moc"
