// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/drawing/TImage.h"
#include "controls/text/FormFonts.h"
#include "report/JsonReportWriter.h"
#include "report/PlatformFactReader.h"
#include "report/ReportBuilder.h"
#include "report/TextReportWriter.h"
#include "report/WindowFactReader.h"
#include "support/KeptReports.h"
#include "support/Session.h"
#include "support/TestData.h"

#include <QFile>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A machine's "processor" fixture, written from a real machine's files (see data/cpuinfo/README.md).
QByteArray fixtureOf(const QString &machine)
{
    return testData(u"cpuinfo/"_s + machine + u".json"_s);
}

QByteArray processorFixture(const QJsonObject &processor)
{
    return QJsonDocument(QJsonObject{{u"processor"_s, processor}}).toJson();
}

// Each text the page drew, checking on the way that it lies inside the image.
QStringList pageOf(const QByteArray &fixture)
{
    Session session(fixture);
    session.wait(50);
    QStringList texts;
    for (const QJsonValue value : session.control(u"Img_Info"_s).value(u"runs"_s).toArray()) {
        const QJsonObject run = value.toObject();
        const QString text = run.value(u"text"_s).toString();
        const int right = run.value(u"x"_s).toInt() + TImage::textWidth(text, FormFonts::windowFont());
        const int bottom = run.value(u"y"_s).toInt() + 13;
        [&] {
            QVERIFY2(right <= 345 && bottom <= 321,
                     qPrintable(u"%1 ends at %2, %3"_s.arg(text).arg(right).arg(bottom)));
        }();
        texts.append(text);
    }
    return texts;
}

SystemFacts fromPlatform(Platform &platform)
{
    return ReportBuilder::build(PlatformFactReader::read(platform));
}

// The JSON, kept for the schema check and parsed.
QJsonObject jsonOf(const SystemFacts &facts, const QString &name)
{
    const QByteArray json = JsonReportWriter::write(facts);
    keepReport(json, u"processoridentity-"_s + name);
    return QJsonDocument::fromJson(json).object();
}

} // namespace

class tst_ProcessorIdentityReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageNamesEachMachine_data();
    void pageNamesEachMachine();
    void unknownIdsShowInHex();
    void everythingFitsTheImage();
    void underQemuUserThePageSaysWhatItCan();
    void reportsCarryTheSameFacts();
    void x86ReportGainsOnlyArchitectureAndCount();
};

void tst_ProcessorIdentityReport::pageNamesEachMachine_data()
{
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("Raspberry Pi 4") << u"raspberry-pi-4"_s
                                    << QStringList{u"aarch64"_s,
                                                   u"ARM"_s,
                                                   u"0x41"_s,
                                                   u"Cortex-A72"_s,
                                                   u"4 × Cortex-A72"_s,
                                                   u"   - fp asimd evtstrm crc32 cpuid"_s,
                                                   u"   - Raspberry Pi 4 Model B Rev 1.1"_s};
    QTest::newRow("RK3588") << u"rk3588"_s
                            << QStringList{u"Cortex-A55 + Cortex-A76"_s, u"4 × Cortex-A55 + 4 × Cortex-A76"_s,
                                           u"0xd05 / 0xd0b"_s, u"0x2 / 0x4"_s, u"   - Radxa ROCK 5B"_s};
    QTest::newRow("Kunpeng 920") << u"kunpeng-920"_s
                                 << QStringList{u"HiSilicon"_s, u"TaiShan v110"_s, u"94"_s,
                                                u"   - Huawei TaiShan 2280 V2"_s};
    QTest::newRow("Phytium D2000") << u"phytium-d2000"_s
                                   << QStringList{u"Phytium"_s, u"Phytium,D2000/8"_s, u"8 × FTC663"_s};
    QTest::newRow("Apple M1") << u"apple-m1"_s << QStringList{u"Apple"_s, u"4 × Icestorm + 4 × Firestorm"_s};
    QTest::newRow("Loongson 3A6000") << u"loongson-3a6000"_s
                                     << QStringList{u"loongarch64"_s, u"Loongson-3A6000-HV"_s, u"Loongson-64bit"_s,
                                                    u"loongarch32 loongarch64"_s, u"   - Loongson XC-LS3A6M"_s};
    QTest::newRow("VisionFive 2") << u"visionfive-2"_s
                                  << QStringList{u"riscv64"_s,    u"SiFive"_s, u"sifive,u74-mc"_s,
                                                 u"rv64imafdc"_s, u"sv39"_s,   u"   - StarFive VisionFive 2 v1.3B"_s};
}

void tst_ProcessorIdentityReport::pageNamesEachMachine()
{
    QFETCH(QString, machine);
    QFETCH(QStringList, shown);
    const QStringList page = pageOf(fixtureOf(machine));
    QCOMPARE(page.value(0), u"处理器"_s);
    QCOMPARE(page.value(1), u"   - 架构: "_s);
    for (const QString &text : shown)
        QVERIFY2(page.contains(text), qPrintable(machine + u": no "_s + text));
    QVERIFY(!page.contains(u"   - 供货商ID: "_s));
}

void tst_ProcessorIdentityReport::unknownIdsShowInHex()
{
    const QStringList page = pageOf(processorFixture(
        {{u"architecture"_s, u"aarch64"_s},
         {u"midr"_s, QJsonArray{u"0x00000000c50fdfe0"_s, u"0x00000000411fdfe1"_s, u"0x00000000410fd034"_s}}}));
    QVERIFY(page.contains(u"未知 (0xc5) + ARM"_s));
    QVERIFY(page.contains(u"0xc5 / 0x41 / 0x41"_s));
    QVERIFY(page.contains(u"未知 (0xdfe) + Cortex-A53"_s));
    QVERIFY(page.contains(u"1 × 0xdfe + 1 × 0xdfe + 1 × Cortex-A53"_s));
    QVERIFY(page.contains(u"0x0 / 0x1 / 0x0"_s)); // each cluster's variant in its place
    // An auxiliary vector of zeros shows as such.
    QVERIFY(page.contains(u"   - HWCAP: "_s) && page.contains(u"0x0"_s));
}

void tst_ProcessorIdentityReport::everythingFitsTheImage()
{
    // Every feature the table names, four clusters that disagree, a long model and board.
    QJsonArray midr;
    for (const char *value : {"0x00000000411fd4f1", "0x00000000422fd4e2", "0x00000000c53fd8e3", "0x00000000614fd0b4"})
        midr.append(QString::fromLatin1(value));
    const QByteArray cpuinfo = "processor : 0\nmodel name : " + QByteArray(70, 'W') + "\n";
    const QStringList page = pageOf(processorFixture({{u"architecture"_s, u"aarch64"_s},
                                                      {u"procCpuinfo"_s, QString::fromLatin1(cpuinfo)},
                                                      {u"midr"_s, midr},
                                                      {u"hwcap"_s, u"0xffffffff"_s},
                                                      {u"hwcap2"_s, u"0x7fffffffffff"_s},
                                                      {u"deviceTreeModel"_s, QString(90, u'M')}}));
    QVERIFY(page.size() >= 30); // lines are checked as they are read
    QVERIFY(page.constLast().endsWith(u'M'));
    QVERIFY(std::any_of(page.cbegin(), page.cend(), [](const QString &text) { return text.endsWith(u" …"_s); }));
}

void tst_ProcessorIdentityReport::underQemuUserThePageSaysWhatItCan()
{
    QFile host(QStringLiteral(PELZORA_TEST_DATA "/cpuinfo/qemu-user/proc/cpuinfo"));
    QVERIFY(host.open(QIODevice::ReadOnly));
    const QStringList page = pageOf(processorFixture({{u"architecture"_s, u"aarch64"_s},
                                                      {u"procCpuinfo"_s, QString::fromUtf8(host.readAll())},
                                                      {u"hwcap"_s, u"0x887"_s}}));
    QCOMPARE(page.value(2), u"aarch64"_s);
    QVERIFY(page.contains(u"   - 逻辑处理器: "_s) && page.contains(u"2"_s));
    QVERIFY(page.contains(u"   - fp asimd evtstrm crc32 cpuid"_s));
    QVERIFY(!page.contains(u"   - 供货商ID: "_s));
}

void tst_ProcessorIdentityReport::reportsCarryTheSameFacts()
{
    Session session(fixtureOf(u"rk3588"_s));
    session.wait(50);
    FakePlatform platform(FixtureLoader::load(fixtureOf(u"rk3588"_s), u"test fixture"_s));
    const SystemFacts facts = fromPlatform(platform);
    const QJsonObject processor = jsonOf(facts, u"rk3588"_s).value(u"processor"_s).toObject();
    const SystemFacts shown = ReportBuilder::build(WindowFactReader::read(session->window()));
    QCOMPARE(processor, jsonOf(shown, u"rk3588-window"_s).value(u"processor"_s).toObject());

    QCOMPARE(processor.value(u"architecture"_s).toString(), u"aarch64"_s);
    QCOMPARE(processor.value(u"logicalProcessors"_s).toInt(), 8);
    QCOMPARE(processor.value(u"vendor"_s).toString(), u"ARM"_s);
    QCOMPARE(processor.value(u"model"_s).toString(), u"Cortex-A55 + Cortex-A76"_s);
    QCOMPARE(processor.value(u"board"_s).toString(), u"Radxa ROCK 5B"_s);
    QCOMPARE(processor.value(u"features"_s).toArray().size(), 16);
    QCOMPARE(processor.value(u"cpuid"_s).toBool(), false);
    // Only the identification instruction's facts are missing, for want of it.
    const QJsonArray missing = processor.value(u"missing"_s).toArray();
    QCOMPARE(missing.size(), 1);
    QCOMPARE(missing.at(0).toObject().value(u"fact"_s).toString(), u"x86"_s);
    QCOMPARE(missing.at(0).toObject().value(u"reason"_s).toString(), u"absent"_s);
    const QJsonObject big = processor.value(u"clusters"_s).toArray().at(1).toObject();
    QCOMPARE(big,
             (QJsonObject{{u"vendor"_s, u"ARM"_s},
                          {u"model"_s, u"Cortex-A76"_s},
                          {u"cores"_s, 4},
                          {u"implementer"_s, 0x41},
                          {u"part"_s, 0xd0b},
                          {u"variant"_s, 4},
                          {u"revision"_s, 0}}));

    const QString text = TextReportWriter::write(facts);
    QVERIFY(text.contains(u"\n[处理器]\n架构: aarch64\n制造商: ARM\n"_s));
    QVERIFY(text.contains(u"\n核心: 4 × Cortex-A55 + 4 × Cortex-A76\n"_s));
    QVERIFY(text.contains(u" lrcpc dcpop asimddp\n品牌: Radxa ROCK 5B\n"_s));
}

void tst_ProcessorIdentityReport::x86ReportGainsOnlyArchitectureAndCount()
{
    FakePlatform platform(FixtureLoader::load(
        R"({ "processor": { "procCpuinfo": "processor : 0\n\nprocessor : 1\n" } })", u"test fixture"_s));
    const QJsonObject processor = jsonOf(fromPlatform(platform), u"x86"_s).value(u"processor"_s).toObject();
    QCOMPARE(processor.value(u"architecture"_s).toString(), u"x86_64"_s);
    QCOMPARE(processor.value(u"logicalProcessors"_s).toInt(), 2);
    QCOMPARE(processor.value(u"cpuid"_s).toBool(), true);
    QVERIFY(!processor.contains(u"clusters"_s) && !processor.contains(u"vendor"_s));
}

QTEST_MAIN(tst_ProcessorIdentityReport)
#include "tst_processoridentityreport.moc"
