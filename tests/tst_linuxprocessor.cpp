// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"
#include "platform/linux/cpu/Arm64Hwcaps.h"
#include "platform/linux/cpu/CpuinfoText.h"
#include "platform/linux/cpu/LinuxProcessor.h"
#include "platform/linux/cpu/LinuxProcessorTexts.h"
#include "platform/linux/cpu/ProcessorIdentityDecoder.h"
#include "support/TestData.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Copies of real machines' files, each in a tree of its own standing for "/" (see data/cpuinfo/README.md).
QString tree(const QString &machine)
{
    return QStringLiteral(PELZORA_TEST_DATA "/cpuinfo/") + machine;
}

QJsonObject fixtureOf(const QString &machine)
{
    return QJsonDocument::fromJson(testData(tree(machine) + u".json"_s)).object().value(u"processor"_s).toObject();
}

// The machine and auxiliary vector the fixture gives, as the running process would have them.
ProcessFacts processOf(const QString &machine)
{
    const QJsonObject fixture = fixtureOf(machine);
    return {fixture.value(u"architecture"_s).toString(), fixture.value(u"hwcap"_s).toString().toULongLong(nullptr, 16),
            fixture.value(u"hwcap2"_s).toString().toULongLong(nullptr, 16)};
}

ProcessorIdentity fromTree(const QString &machine)
{
    return LinuxProcessor(tree(machine), processOf(machine)).identity();
}

QString clustersOf(const ProcessorIdentity &identity)
{
    QStringList clusters;
    for (const ProcessorCluster &cluster : identity.clusters)
        clusters.append(u"%1x %2 %3"_s.arg(cluster.cores).arg(cluster.vendor, cluster.model));
    return clusters.join(u" + "_s);
}

LinuxProcessorTexts arm64(const QByteArray &cpuinfo)
{
    LinuxProcessorTexts texts;
    texts.machine = u"aarch64"_s;
    texts.cpuinfo = cpuinfo;
    return texts;
}

QByteArray armBlock(int processor, const char *part)
{
    return "processor\t: " + QByteArray::number(processor)
        + "\nFeatures\t: fp asimd\nCPU implementer\t: 0x41\n"
          "CPU variant\t: 0x0\nCPU part\t: "
        + part + "\nCPU revision\t: 4\n\n";
}

} // namespace

class tst_LinuxProcessor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void realMachines_data();
    void realMachines();
    void fakeAndLinuxReadTheSameFixture_data();
    void fakeAndLinuxReadTheSameFixture();
    void hwcapsNameWhatTheKernelPrints_data();
    void hwcapsNameWhatTheKernelPrints();
    void otherArchitecturesByTheirOwnKeys();
    void underQemuUserTheHostFilesNameAnotherProcessor();
    void unreadableRegistersFallBackAndShowTheirText();
    void oddIdsShowInHex();
    void zeroAuxiliaryVectorShowsItsWords();
    void brokenTextsLeaveWhatCanBeRead();
};

void tst_LinuxProcessor::realMachines_data()
{
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("clusters");
    QTest::addColumn<QString>("board");
    QTest::addColumn<int>("logical");
    // From sysfs; the device tree's model ends in a NUL.
    QTest::newRow("Raspberry Pi 4") << u"raspberry-pi-4"_s << u"Cortex-A72"_s << u"4x ARM Cortex-A72"_s
                                    << u"Raspberry Pi 4 Model B Rev 1.1"_s << 4;
    // big.LITTLE in the order of each cluster's first CPU.
    QTest::newRow("RK3588") << u"rk3588"_s << u"Cortex-A55 + Cortex-A76"_s << u"4x ARM Cortex-A55 + 4x ARM Cortex-A76"_s
                            << u"Radxa ROCK 5B"_s << 8;
    // No sysfs registers: from /proc/cpuinfo's fields; the board from DMI.
    QTest::newRow("Kunpeng 920") << u"kunpeng-920"_s << u"TaiShan v110"_s << u"94x HiSilicon TaiShan v110"_s
                                 << u"Huawei TaiShan 2280 V2"_s << 94;
    // The kernel's own model name wins over the core's.
    QTest::newRow("Phytium D2000") << u"phytium-d2000"_s << u"Phytium,D2000/8"_s << u"8x Phytium FTC663"_s << QString()
                                   << 8;
    QTest::newRow("Apple M1") << u"apple-m1"_s << u"Icestorm + Firestorm"_s
                              << u"4x Apple Icestorm + 4x Apple Firestorm"_s << QString() << 8;
}

void tst_LinuxProcessor::realMachines()
{
    QFETCH(QString, machine);
    QFETCH(QString, model);
    QFETCH(QString, clusters);
    QFETCH(QString, board);
    QFETCH(int, logical);
    const ProcessorIdentity identity = fromTree(machine);
    QCOMPARE(identity.architecture, u"aarch64"_s);
    QCOMPARE(identity.model, model);
    QCOMPARE(clustersOf(identity), clusters);
    QCOMPARE(identity.board, board);
    QCOMPARE(identity.logicalProcessors, logical);
    QVERIFY(identity.details.isEmpty());
}

void tst_LinuxProcessor::fakeAndLinuxReadTheSameFixture_data()
{
    QTest::addColumn<QString>("machine");
    for (const char *machine : {"raspberry-pi-4", "rk3588", "kunpeng-920", "phytium-d2000", "apple-m1",
                                "loongson-3a6000", "loongson-3a5000", "visionfive-2"})
        QTest::newRow(machine) << QString::fromLatin1(machine);
}

void tst_LinuxProcessor::fakeAndLinuxReadTheSameFixture()
{
    QFETCH(QString, machine);
    FakePlatform fake(FixtureLoader::loadFile(tree(machine) + u".json"_s));
    QCOMPARE(fake.processor().identity(), fromTree(machine));
    QVERIFY(!fake.cpuid().hasCpuid());
}

void tst_LinuxProcessor::hwcapsNameWhatTheKernelPrints_data()
{
    QTest::addColumn<QString>("machine");
    for (const char *machine : {"raspberry-pi-4", "rk3588", "kunpeng-920", "phytium-d2000", "apple-m1"})
        QTest::newRow(machine) << QString::fromLatin1(machine);
}

void tst_LinuxProcessor::hwcapsNameWhatTheKernelPrints()
{
    QFETCH(QString, machine);
    const ProcessFacts process = processOf(machine);
    QFile file(tree(machine) + u"/proc/cpuinfo"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString kernels = CpuinfoText::parse(file.readAll()).first(u"Features");
    QCOMPARE(Arm64Hwcaps::names(process.hwcap, process.hwcap2).join(u' '), kernels);
}

void tst_LinuxProcessor::otherArchitecturesByTheirOwnKeys()
{
    const ProcessorIdentity loongson = fromTree(u"loongson-3a6000"_s);
    QCOMPARE(loongson.model, u"Loongson-3A6000-HV"_s);
    QCOMPARE(loongson.detail(u"family"_s), u"Loongson-64bit"_s);
    QCOMPARE(loongson.detail(u"isa"_s), u"loongarch32 loongarch64"_s);
    QCOMPARE(loongson.detail(u"cores"_s), u"4"_s); // two threads a core
    QCOMPARE(loongson.logicalProcessors, 8);
    QCOMPARE(loongson.features.constFirst(), u"cpucfg"_s);
    QCOMPARE(loongson.board, u"Loongson XC-LS3A6M"_s);
    // A product name that already starts with the vendor's is not doubled.
    QCOMPARE(fromTree(u"loongson-3a5000"_s).board, u"Loongson-3A5000M-7A1000-Laptop-Eascs-L71"_s);

    // Older LoongArch kernels spell the keys in lower case.
    QFile file(tree(u"loongson-3a5000"_s) + u"/proc/cpuinfo"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    LinuxProcessorTexts old;
    old.machine = u"loongarch64"_s;
    old.cpuinfo = file.readAll().replace("Model Name", "model name").replace("CPU Family", "cpu family");
    QCOMPARE(ProcessorIdentityDecoder::decode(old).model, u"Loongson-3A5000M"_s);

    const ProcessorIdentity riscv = fromTree(u"visionfive-2"_s);
    QCOMPARE(riscv.vendor, u"SiFive"_s);
    QCOMPARE(riscv.model, u"sifive,u74-mc"_s);
    QCOMPARE(riscv.detail(u"isa"_s), u"rv64imafdc"_s);
    QCOMPARE(riscv.features, QStringList({u"zicntr"_s, u"zicsr"_s, u"zifencei"_s, u"zihpm"_s, u"zba"_s, u"zbb"_s}));
    QCOMPARE(riscv.detail(u"marchid"_s), u"0x8000000000000007"_s);
    QCOMPARE(riscv.board, u"StarFive VisionFive 2 v1.3B"_s);
}

void tst_LinuxProcessor::underQemuUserTheHostFilesNameAnotherProcessor()
{
    // The emulator answers uname and the auxiliary vector; /proc and /sys are the x86 host's.
    const ProcessorIdentity identity = LinuxProcessor(tree(u"qemu-user"_s), {u"aarch64"_s, 0x887, 0}).identity();
    QCOMPARE(identity.architecture, u"aarch64"_s);
    QCOMPARE(identity.logicalProcessors, 2);
    QVERIFY(identity.clusters.isEmpty());
    QCOMPARE(identity.model, u"AMD EPYC"_s);
    QCOMPARE(identity.features.join(u' '), u"fp asimd evtstrm crc32 cpuid"_s);
}

void tst_LinuxProcessor::unreadableRegistersFallBackAndShowTheirText()
{
    QTemporaryDir root;
    const QDir cpus(root.filePath(u"sys/devices/system/cpu"_s));
    const QByteArray registers[] = {"", "0x00000000410fd034\n", "not a number\n"};
    for (int cpu = 0; cpu < 3; ++cpu) {
        const QString identification = cpus.filePath(u"cpu%1/regs/identification"_s.arg(cpu));
        QVERIFY(QDir().mkpath(identification));
        QFile midr(identification + u"/midr_el1"_s);
        QVERIFY(midr.open(QIODevice::WriteOnly) && midr.write(registers[cpu]) == registers[cpu].size());
    }
    QVERIFY(QDir().mkpath(root.filePath(u"proc"_s)));
    QFile cpuinfo(root.filePath(u"proc/cpuinfo"_s));
    QVERIFY(cpuinfo.open(QIODevice::WriteOnly));
    cpuinfo.write(armBlock(0, "0xd03") + armBlock(1, "0xd03"));
    cpuinfo.close();

    const ProcessorIdentity identity = LinuxProcessor(root.path(), {u"aarch64"_s, 0x3, 0}).identity();
    // cpu0 from its /proc/cpuinfo block, cpu1 from sysfs, cpu2 from nothing.
    QCOMPARE(clustersOf(identity), u"2x ARM Cortex-A53"_s);
    QCOMPARE(identity.clusters.constFirst().revision, 4u);
    QCOMPARE(identity.detail(u"midr"_s), QString());
    QCOMPARE(identity.details.constFirst().key, u"midr"_s);
}

void tst_LinuxProcessor::oddIdsShowInHex()
{
    LinuxProcessorTexts texts = arm64({});
    // Implementer 0 is for software's own use, 0xff unassigned; 0xd4f under Arm is known, 0xdfe is not.
    texts.midr = QList<QByteArray>{"0x00000000000fd4f0", "0x00000000ff0fd4f0", "0x00000000410fdfe0"};
    const ProcessorIdentity identity = ProcessorIdentityDecoder::decode(texts);
    QCOMPARE(clustersOf(identity), u"1x 0x00 0xd4f + 1x 0xff 0xd4f + 1x ARM 0xdfe"_s);
    QCOMPARE(identity.logicalProcessors, 3);
}

void tst_LinuxProcessor::zeroAuxiliaryVectorShowsItsWords()
{
    const ProcessorIdentity identity = ProcessorIdentityDecoder::decode(arm64(armBlock(0, "0xd08")));
    QCOMPARE(identity.features, QStringList({u"fp"_s, u"asimd"_s})); // the kernel's line instead
    QCOMPARE(identity.detail(u"hwcap"_s), u"0x0"_s);
    QCOMPARE(identity.detail(u"hwcap2"_s), u"0x0"_s);
    // Bits the table does not name yet still show.
    QCOMPARE(Arm64Hwcaps::names(quint64{1} << 40, quint64{1} << 63), QStringList({u"hwcap[40]"_s, u"hwcap2[63]"_s}));
}

void tst_LinuxProcessor::brokenTextsLeaveWhatCanBeRead()
{
    QByteArray many;
    for (int cpu = 0; cpu < 4096; ++cpu)
        many += armBlock(cpu, cpu % 2 ? "0xd0b" : "0xd05");
    QCOMPARE(clustersOf(ProcessorIdentityDecoder::decode(arm64(many))),
             u"2048x ARM Cortex-A55 + 2048x ARM Cortex-A76"_s);

    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919) % 251);
    for (const QByteArray &text : {QByteArray("BogoMIPS\t: 48.00\n\nSerial\t: 1\n"), QByteArray("no colons\nat all\n"),
                                   garbage, QByteArray("processor : 0\nCPU implementer : 0x41\nCPU part : 0x")}) {
        LinuxProcessorTexts texts = arm64(text);
        texts.onlineProcessors = 6;
        const ProcessorIdentity identity = ProcessorIdentityDecoder::decode(texts);
        QCOMPARE(identity.architecture, u"aarch64"_s);
        QVERIFY(identity.clusters.isEmpty());
        QVERIFY(identity.logicalProcessors == 6 || identity.logicalProcessors == 1);
    }
}

QTEST_GUILESS_MAIN(tst_LinuxProcessor)
#include "tst_linuxprocessor.moc"
