// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "controls/drawing/TImage.h"
#include "controls/text/FormFonts.h"
#include "support/Session.h"

#include <QFontMetrics>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One report line: the red label and the black value drawn at one y.
struct Line
{
    int y = 0;
    QString label;
    QString value;
};

// Leaves of a processor like an Ivy Bridge Core i5; extended and brand leaves as given.
QByteArray fixture(const QString &leaf1Eax = u"0x000306A9"_s, const QString &leaf1Edx = u"0xBFEBFBFF"_s,
                   const QString &highestExtended = u"0x80000008"_s, const QString &brandTail = u"0x007A4847"_s)
{
    return u"{ \"cpuid\": { \"leaves\": {"
           " \"0x0\": [\"0xD\", \"0x756E6547\", \"0x6C65746E\", \"0x49656E69\"],"
           " \"0x1\": [\"%1\", \"0x01100800\", \"0x7FBAE3FF\", \"%2\"],"
           " \"0x80000000\": [\"%3\", \"0\", \"0\", \"0\"],"
           " \"0x80000002\": [\"0x20202020\", \"0x20202020\", \"0x65746E49\", \"0x2952286C\"],"
           " \"0x80000003\": [\"0x726F4320\", \"0x4D542865\", \"0x35692029\", \"0x3033332D\"],"
           " \"0x80000004\": [\"0x43205030\", \"0x40205550\", \"0x322E3320\", \"%4\"] } } }"_s
               .arg(leaf1Eax, leaf1Edx, highestExtended, brandTail)
               .toUtf8();
}

// The report as lines, checking on the way that labels are red at the margin
// and values black right after their label.
QList<Line> reportOf(const QByteArray &fixtureJson)
{
    Session session(fixtureJson);
    session.wait(50);
    const QJsonArray runs = session.control(u"Img_Info"_s).value(u"runs"_s).toArray();
    const QFontMetrics metrics(FormFonts::windowFont());
    QList<Line> lines;
    for (const auto &value : runs) {
        const QJsonObject run = value.toObject();
        const int y = run.value(u"y"_s).toInt();
        const QString text = run.value(u"text"_s).toString();
        const bool red = run.value(u"color"_s).toString() == u"#FF0000"_s;
        if (lines.isEmpty() || lines.constLast().y != y)
            lines.append({y, QString(), QString()});
        Line &line = lines.last();
        if (red) {
            [&] {
                QCOMPARE(run.value(u"x"_s).toInt(), 15);
            }();
            line.label = text;
        } else {
            [&] {
                QCOMPARE(run.value(u"color"_s).toString(), u"#000000"_s);
                QCOMPARE(run.value(u"x"_s).toInt(), 15 + metrics.horizontalAdvance(line.label));
            }();
            line.value = text;
        }
    }
    return lines;
}

// An Intel processor whose 48 brand bytes are given, four to a register, lowest byte first.
QByteArray brandFixture(const QByteArray &brandBytes)
{
    QStringList leaves;
    for (int leaf = 0; leaf < 3; ++leaf) {
        QStringList registers;
        for (int r = 0; r < 4; ++r) {
            quint32 value = 0;
            for (int b = 3; b >= 0; --b)
                value = (value << 8) | quint8(brandBytes.at(16 * leaf + 4 * r + b));
            registers.append(u"\"0x%1\""_s.arg(value, 8, 16, QChar(u'0')));
        }
        leaves.append(u"\"0x8000000%1\": [%2]"_s.arg(leaf + 2).arg(registers.join(u", "_s)));
    }
    return u"{ \"cpuid\": { \"leaves\": { \"0x80000000\": [\"0x80000004\", \"0\", \"0\", \"0\"], %1 } } }"_s
        .arg(leaves.join(u", "_s))
        .toUtf8();
}

QImage reportPicture(const QByteArray &fixtureJson)
{
    Session session(fixtureJson);
    session.wait(50);
    return session->window().findChild<TImage *>(u"Img_Info"_s)->grab().toImage();
}

QString brand(const QString &tail)
{
    return u"   - "_s + u"        Intel(R) Core(TM) i5-3300P CPU @ 3.2"_s + tail;
}

} // namespace

class tst_ProcessorPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportOfAnIntelProcessor();
    void withoutExtendedLeavesTheReportEndsAtLine21();
    void modelIsOneHexadecimalDigit_data();
    void modelIsOneHexadecimalDigit();
    void fxsaveLabelFollowsItsFlag();
    void onlyOneTrailingNulIsDroppedFromTheBrand();
    void nulCharactersDrawAsNothing();
    void serialTextHasSixGroupsWhateverLeaf3Says();
    void processorWithoutCpuid();
};

void tst_ProcessorPage::reportOfAnIntelProcessor()
{
    const QList<Line> lines = reportOf(fixture());
    const QList<Line> expected{
        {5, u"处理器"_s, {}},
        {18, u"   - 供货商ID: "_s, u"GenuineIntel"_s},
        {31, u"   - 步进ID: "_s, u"9"_s},
        {44, u"   - 型号: "_s, u"A"_s},
        {57, u"   - 系列代码: "_s, u"6"_s},
        {70, u"   - 处理器类型: "_s, u"0"_s},
        {83, u"   - 扩展型号: "_s, u"3"_s},
        {96, u"   - 大系列: "_s, u"0"_s},
        {109, u"   - 品牌 ID: "_s, u"0"_s},
        {122, u"   - 片数: "_s, u"8"_s},
        {135, u"   - 数量: "_s, u"16"_s},
        {148, u"   - APIC(高级可编程终端控制器)ID: "_s, u"1"_s},
        {161, u"   - 序列号 "_s, u"失效"_s},
        {174, u"   - 序列号: "_s, u"0003-06A9-0000-0000-0000-0000"_s},
        // 187: blank
        {200, u"MMX(多媒体增强指令集) "_s, u"支持"_s},
        {213, u"FXSAVE & FXRSTOR 指令 "_s, u"支持"_s},
        {226, u"SSE指令集 "_s, u"支持"_s},
        {239, u"SSE2指令集 "_s, u"支持"_s},
        // 252: blank
        {265, u"扩展CPUID: "_s, u"支持"_s},
        {278, u"   - 高级功能支持: "_s, u"8"_s},
        {291, u"品牌: "_s, {}},
        {304, {}, brand(u"GHz"_s)},
    };
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines[i].y, expected[i].y);
        QCOMPARE(lines[i].label, expected[i].label);
        QCOMPARE(lines[i].value, expected[i].value);
    }
    QCOMPARE(lines.constLast().value.size(), 5 + 47);
}

void tst_ProcessorPage::withoutExtendedLeavesTheReportEndsAtLine21()
{
    for (const QString &highest : {u"0x80000000"_s, u"0x7FFFFFFF"_s, u"0x0"_s}) {
        const QList<Line> lines = reportOf(fixture(u"0x000306A9"_s, u"0xBFEBFBFF"_s, highest));
        QCOMPARE(lines.size(), 19); // 21 lines, two of them blank
        QCOMPARE(lines.constLast().y, 265);
        QCOMPARE(lines.constLast().label, u"   - 扩展CPUID "_s);
        QCOMPARE(lines.constLast().value, u"不支持."_s);
    }
}

void tst_ProcessorPage::modelIsOneHexadecimalDigit_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("text");
    QTest::newRow("9") << 9 << u"9"_s;
    QTest::newRow("10") << 10 << u"A"_s;
    QTest::newRow("11") << 11 << u"B"_s;
    QTest::newRow("12") << 12 << u"C"_s;
    QTest::newRow("13") << 13 << u"D"_s;
    QTest::newRow("14") << 14 << u"E"_s;
    QTest::newRow("15") << 15 << u"F"_s;
}

void tst_ProcessorPage::modelIsOneHexadecimalDigit()
{
    QFETCH(int, model);
    QFETCH(QString, text);
    const QString eax = u"0x%1"_s.arg(0x30609u | (unsigned(model) << 4), 0, 16);
    const QList<Line> lines = reportOf(fixture(eax));
    QCOMPARE(lines.at(3).label, u"   - 型号: "_s);
    QCOMPARE(lines.at(3).value, text);
    QCOMPARE(lines.at(2).value, u"9"_s); // the stepping beside it stays decimal
}

void tst_ProcessorPage::fxsaveLabelFollowsItsFlag()
{
    const QList<Line> with = reportOf(fixture(u"0x306A9"_s, u"0x01000000"_s));
    QCOMPARE(with.at(15).label, u"FXSAVE & FXRSTOR 指令 "_s);
    QCOMPARE(with.at(15).value, u"支持"_s);
    QCOMPARE(with.at(14).value, u"不支持"_s); // MMX
    const QList<Line> without = reportOf(fixture(u"0x306A9"_s, u"0x00840000"_s));
    QCOMPARE(without.at(15).label, u"FXSAVE & FXRSTOR 指令集"_s);
    QCOMPARE(without.at(15).value, u"不支持"_s);
    QCOMPARE(without.at(14).value, u"支持"_s);
    QCOMPARE(without.at(12).value, u"有效"_s); // serial-number flag, bit 18
}

void tst_ProcessorPage::onlyOneTrailingNulIsDroppedFromTheBrand()
{
    const QString padded = reportOf(fixture(u"0x306A9"_s, u"0"_s, u"0x80000004"_s, u"0x00000000"_s)).constLast().value;
    QCOMPARE(padded.size(), 5 + 47);
    QCOMPARE(padded, brand(u"\0\0\0"_s));
    const QString unpadded =
        reportOf(fixture(u"0x306A9"_s, u"0"_s, u"0x80000004"_s, u"0x41424344"_s)).constLast().value;
    QCOMPARE(unpadded, brand(u"DCBA"_s));
    QCOMPARE(unpadded.size(), 5 + 48);
}

void tst_ProcessorPage::nulCharactersDrawAsNothing()
{
    // Padded with NULs before and after; the same brand with blanks after it
    // instead, which draw white on white. Both keep 48 bytes.
    const QByteArray core = "Intel(R) Core(TM) i5-3300P CPU @ 3.20GHz";
    const QByteArray padded = QByteArray(4, '\0') + core + QByteArray(4, '\0');
    const QByteArray plain = core + QByteArray(8, ' ');
    const QImage withNuls = reportPicture(brandFixture(padded));
    QCOMPARE(withNuls, reportPicture(brandFixture(plain)));
    // Only the drawing leaves them out: the text keeps them.
    QCOMPARE(reportOf(brandFixture(padded)).constLast().value, u"   - "_s + QString::fromLatin1(padded.chopped(1)));
    // And the picture shows the brand at all.
    QVERIFY(withNuls != reportPicture(brandFixture(QByteArray(48, ' '))));
}

void tst_ProcessorPage::serialTextHasSixGroupsWhateverLeaf3Says()
{
    const QList<Line> lines = reportOf(fixture(u"0xFFFFFFFF"_s));
    QCOMPARE(lines.at(13).value, u"FFFF-FFFF-0000-0000-0000-0000"_s);
    QCOMPARE(lines.at(13).value.size(), 29);

    const QByteArray withLeaf3 = R"({ "cpuid": { "leaves": { "0x1": ["0xabc", "0", "0", "0"],
                                   "0x3": ["0", "0", "0x12", "0xDEADBEEF"] } } })";
    QCOMPARE(reportOf(withLeaf3).at(13).value, u"0000-0ABC-DEAD-BEEF-0000-0012"_s);
}

void tst_ProcessorPage::processorWithoutCpuid()
{
    const QList<Line> lines = reportOf(R"({ "cpuid": { "available": false } })");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).label, u"处理器"_s);
    QCOMPARE(lines.at(1).label, u"   - CPUID指令: "_s);
    QCOMPARE(lines.at(1).value, u"不支持."_s);
}

QTEST_MAIN(tst_ProcessorPage)
#include "tst_processorpage.moc"
