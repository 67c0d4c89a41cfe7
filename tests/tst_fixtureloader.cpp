// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MemorySource.h"
#include "platform/SystemSource.h"
#include "platform/fake/FakeMachine.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString loadError(const QByteArray &json)
{
    try {
        FakeMachine machine;
        FixtureLoader(u"f.json"_s).apply(QJsonDocument::fromJson(json).object(), machine);
    } catch (const FixtureError &error) {
        return QString::fromStdString(error.what());
    }
    return {};
}

struct Run
{
    int exitCode = -1;
    QString standardError;
};

Run snapshot(const QStringList &arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(PELZORA_SNAPSHOT), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &contents)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

} // namespace

class tst_FixtureLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void badFixturesNameTheKey_data();
    void badFixturesNameTheKey();
    void plainMachineWithoutKeys();
    void numbersTakeSixtyFourBitsAndHexadecimal();
    void answerListsRepeatTheirLastAnswer();
    void registryValuesAreStoredAsTheRegistryHoldsThem();
    void aFixtureStepReplacesOnlyItsKeys();
    void snapshotToolRendersEveryPage();
    void snapshotToolScalesPicturesNotTheState();
    void snapshotToolRejectsBadInput_data();
    void snapshotToolRejectsBadInput();
};

void tst_FixtureLoader::badFixturesNameTheKey_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("expected");
    QTest::newRow("string where a number belongs")
        << QByteArray(R"({"memory": [{"load": "abc"}]})") << u"f.json: memory[0].load: \"abc\" is not a number"_s;
    QTest::newRow("unknown register string") << QByteArray(R"({"cpuid": {"leaves": {"0x1": ["0x1", "zz", "0", "0"]}}})")
                                             << u"f.json: cpuid.leaves.0x1[1]: \"zz\" is not a number"_s;
    QTest::newRow("register above 32 bits")
        << QByteArray(R"({"cpuid": {"leaves": {"0x1": ["0x100000000", "0", "0", "0"]}}})") << u"cpuid.leaves.0x1[0]"_s;
    QTest::newRow("leaf that is not a number")
        << QByteArray(R"({"cpuid": {"leaves": {"leaf1": ["0", "0", "0", "0"]}}})") << u"cpuid.leaves.leaf1"_s;
    QTest::newRow("three registers") << QByteArray(R"({"cpuid": {"leaves": {"0x1": ["0", "0", "0"]}}})")
                                     << u"expected four registers"_s;
    QTest::newRow("boolean as a string") << QByteArray(R"({"services": {"managerOpens": "yes"}})")
                                         << u"services.managerOpens: expected true or false"_s;
    QTest::newRow("object where an array belongs")
        << QByteArray(R"({"services": {"displayNames": {"a": 1}}})") << u"services.displayNames: expected an array"_s;
    QTest::newRow("drive letter") << QByteArray(R"({"drives": [{"letter": "CD"}]})")
                                  << u"drives[0].letter: expected one letter"_s;
    QTest::newRow("unknown registry type")
        << QByteArray(
               R"({"uninstall": {"keys": [{"name": "K", "values": {"DisplayName": {"type": "REG_X", "data": 1}}}]}})")
        << u"uninstall.keys[0].values.DisplayName.type: unknown registry type \"REG_X\""_s;
    QTest::newRow("address") << QByteArray(R"({"host": {"addresses": ["300.1.1.1"]}})")
                             << u"host.addresses[0]: \"300.1.1.1\" is not an IPv4"_s;
    QTest::newRow("negative size") << QByteArray(R"({"drives": [{"letter": "C", "totalBytes": -1}]})")
                                   << u"drives[0].totalBytes"_s;
    QTest::newRow("number past 64 bits") << QByteArray(R"({"tickCount": [18446744073709551616]})")
                                         << u"tickCount[0]: 1.8446744073709552e+19 is not a number"_s;
    QTest::newRow("fraction") << QByteArray(R"({"tickCount": [1.5]})") << u"tickCount[0]: 1.5 is not a number"_s;
    QTest::newRow("negative CPU count") << QByteArray(R"({"system": {"cpus": {"online": -1}}})")
                                        << u"system.cpus.online: -1 is not a number from 0"_s;
    QTest::newRow("release text not a string")
        << QByteArray(R"({"system": {"osRelease": ["ID=x"]}})") << u"system.osRelease: expected a string"_s;
}

void tst_FixtureLoader::badFixturesNameTheKey()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, expected);
    const QString error = loadError(json);
    QVERIFY2(error.contains(expected), qPrintable(error));
}

void tst_FixtureLoader::plainMachineWithoutKeys()
{
    FakePlatform platform;
    FakeMachine &machine = platform.machine();
    QCOMPARE(platform.memory().globalMemoryStatus(), MemoryStatus());
    QVERIFY(machine.drives.isEmpty());
    QCOMPARE(machine.host.name, QByteArray("localhost"));
    QVERIFY(machine.host.addresses.isEmpty());
    QCOMPARE(machine.tickCount.take(), quint64(0));
    QCOMPARE(machine.shellOpens.take(false), false);
    QVERIFY(machine.uninstall.keyOpens && machine.uninstall.keys.isEmpty());
    QVERIFY(!machine.printers.defaultName);
    QVERIFY(!platform.system().operatingSystem() && !platform.system().kernel());
}

void tst_FixtureLoader::numbersTakeSixtyFourBitsAndHexadecimal()
{
    FakeMachine machine;
    FixtureLoader(u"f.json"_s)
        .apply(QJsonDocument::fromJson(R"({"memory": {"totalPhys": "0x200000000", "availPhys": "18446744073709551615",
                                                      "totalPageFile": 4294967295, "load": "0x25"}})")
                   .object(),
               machine);
    const MemoryStatus status = machine.memory.take();
    QCOMPARE(status.totalPhys, quint64(0x200000000));
    QCOMPARE(status.availPhys, std::numeric_limits<quint64>::max());
    QCOMPARE(status.totalPageFile, quint64(4294967295u));
    QCOMPARE(status.memoryLoad, 37u);
}

void tst_FixtureLoader::answerListsRepeatTheirLastAnswer()
{
    FakeMachine machine;
    FixtureLoader(u"f.json"_s)
        .apply(QJsonDocument::fromJson(R"({"tickCount": ["1", 2], "shell": {"opens": [false, true]}})").object(),
               machine);
    QCOMPARE(machine.tickCount.take(), quint64(1));
    QCOMPARE(machine.tickCount.take(), quint64(2));
    QCOMPARE(machine.tickCount.take(), quint64(2));
    QCOMPARE(machine.shellOpens.take(), false);
    QCOMPARE(machine.shellOpens.take(), true);
    QCOMPARE(machine.shellOpens.take(), true);
}

void tst_FixtureLoader::registryValuesAreStoredAsTheRegistryHoldsThem()
{
    FakeMachine machine;
    FixtureLoader(u"f.json"_s)
        .apply(QJsonDocument::fromJson(R"({"uninstall": {"keys": [{"name": "K", "values": {
                    "A": {"type": "REG_SZ", "data": "Fo\u0000o"},
                    "B": {"type": "REG_DWORD", "data": 5},
                    "C": {"type": "REG_BINARY", "data": []},
                    "D": {"type": "REG_MULTI_SZ", "data": ["x", "y"]},
                    "E": {"type": "REG_EXPAND_SZ", "data": "%P%", "readFails": true}}}]}})")
                   .object(),
               machine);
    const auto &values = machine.uninstall.keys.at(0).values;
    QCOMPARE(values.value(u"A"_s).data, QByteArray("Fo\0o\0", 5));
    QCOMPARE(values.value(u"B"_s).type, RegistryValueType::DWord);
    QCOMPARE(values.value(u"B"_s).data, QByteArray("\x05\0\0\0", 4));
    QCOMPARE(values.value(u"C"_s).data.size(), 0);
    QCOMPARE(values.value(u"D"_s).data, QByteArray("x\0y\0\0", 5));
    QVERIFY(values.value(u"E"_s).readFails);
    QCOMPARE(values.value(u"E"_s).type, RegistryValueType::ExpandSz);
}

void tst_FixtureLoader::aFixtureStepReplacesOnlyItsKeys()
{
    FakeMachine machine;
    const FixtureLoader loader(u"f.json"_s);
    loader.apply(QJsonDocument::fromJson(R"({"host": {"name": "pc1"}, "tickCount": [5, 6]})").object(), machine);
    machine.tickCount.take();
    loader.apply(QJsonDocument::fromJson(R"({"tickCount": [7]})").object(), machine);
    QCOMPARE(machine.host.name, QByteArray("pc1"));
    QCOMPARE(machine.tickCount.take(), quint64(7));

    // A bad part leaves the whole machine as it was.
    const QString error = loadError(R"({"host": {"name": "pc2"}, "tickCount": [true]})");
    QVERIFY(!error.isEmpty());
    try {
        loader.apply(QJsonDocument::fromJson(R"({"host": {"name": "pc2"}, "tickCount": [true]})").object(), machine);
    } catch (const FixtureError &) {
    }
    QCOMPARE(machine.host.name, QByteArray("pc1"));
}

void tst_FixtureLoader::snapshotToolRendersEveryPage()
{
    QTemporaryDir dir;
    const QString fixture = writeFile(dir, u"f.json"_s, R"({"host": {"name": "pc1"}})");
    const Run run = snapshot({u"--fixture"_s, fixture, u"--out"_s, dir.filePath(u"out"_s)});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(QFile::exists(dir.filePath(u"out/state.json"_s)));
    for (int page = 0; page < 7; ++page) {
        const QImage shot(dir.filePath(u"out/page-%1.png"_s.arg(page)));
        QCOMPARE(shot.size(), QSize(369, 377));
    }
}

void tst_FixtureLoader::snapshotToolScalesPicturesNotTheState()
{
    QTemporaryDir dir;
    const QString steps = writeFile(dir, u"s.json"_s, R"([{"dump": "state"}, {"shot": "page-0"}])");
    const QString fixture = writeFile(dir, u"f.json"_s, "{}");
    const Run run = snapshot(
        {u"--scale"_s, u"2"_s, u"--fixture"_s, fixture, u"--steps"_s, steps, u"--out"_s, dir.path()});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QImage(dir.filePath(u"page-0.png"_s)).size(), QSize(738, 754));
    QFile dump(dir.filePath(u"state.json"_s));
    QVERIFY(dump.open(QIODevice::ReadOnly));
    const QJsonObject state = QJsonDocument::fromJson(dump.readAll()).object();
    QCOMPARE(state[u"window"_s][u"clientWidth"_s].toInt(), 369);
    QCOMPARE(state[u"controls"_s][u"Img_Info"_s][u"geometry"_s].toArray(), (QJsonArray{8, 16, 345, 321}));

    const Run refused = snapshot({u"--scale"_s, u"0"_s, u"--fixture"_s, fixture, u"--out"_s, dir.path()});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY(refused.standardError.contains(u"--scale"_s));
}

void tst_FixtureLoader::snapshotToolRejectsBadInput_data()
{
    QTest::addColumn<QByteArray>("fixture");
    QTest::addColumn<QByteArray>("steps");
    QTest::addColumn<QString>("expected");
    QTest::newRow("malformed fixture") << QByteArray("{\"memory\": [") << QByteArray("[]") << u"malformed JSON"_s;
    QTest::newRow("wrong type") << QByteArray(R"({"printers": {"list": [{"name": 5}]}})") << QByteArray("[]")
                                << u"printers.list[0].name: expected a string"_s;
    QTest::newRow("unknown step") << QByteArray("{}") << QByteArray(R"([{"jump": 1}])") << u"step 0: unknown step"_s;
    QTest::newRow("page out of range") << QByteArray("{}") << QByteArray(R"([{"wait": 1}, {"page": 7}])")
                                       << u"step 1: \"page\" needs a page number from 0 to 6"_s;
    QTest::newRow("no such control") << QByteArray("{}") << QByteArray(R"([{"click": "Label99"}])")
                                     << u"no control named \"Label99\""_s;
    QTest::newRow("bad fixture step") << QByteArray("{}") << QByteArray(R"([{"fixture": {"tickCount": ["x"]}}])")
                                      << u"fixture step: tickCount[0]"_s;
}

void tst_FixtureLoader::snapshotToolRejectsBadInput()
{
    QFETCH(QByteArray, fixture);
    QFETCH(QByteArray, steps);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const Run run = snapshot({u"--fixture"_s, writeFile(dir, u"f.json"_s, fixture), u"--steps"_s,
                              writeFile(dir, u"s.json"_s, steps), u"--out"_s, dir.path()});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.standardError.contains(expected), qPrintable(run.standardError));
    QCOMPARE(run.standardError.trimmed().count(u'\n'), 0); // one line

    const Run noOut = snapshot({u"--fixture"_s, dir.filePath(u"f.json"_s)});
    QCOMPARE(noOut.exitCode, 2);
    QVERIFY(noOut.standardError.contains(u"--out"_s));
}

QTEST_MAIN(tst_FixtureLoader)
#include "tst_fixtureloader.moc"
