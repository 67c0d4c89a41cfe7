// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/system/CpuTopology.h"
#include "platform/linux/system/LinuxSystem.h"
#include "platform/linux/system/OsRelease.h"

#include <QTest>

#include <sys/utsname.h>

using namespace Qt::StringLiterals;

namespace {

const QString Trees = QStringLiteral(PELZORA_TEST_DATA "/system/");

} // namespace

class tst_LinuxSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesAsTheShellReadsThem_data();
    void valuesAsTheShellReadsThem();
    void nameFromTheFile_data();
    void nameFromTheFile();
    void cpuList_data();
    void cpuList();
    void fromTheTree();
    void sessionType();
};

void tst_LinuxSystem::valuesAsTheShellReadsThem_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("read");
    QTest::newRow("plain") << "debian"_ba << u"debian"_s;
    QTest::newRow("double quotes") << R"("Debian GNU/Linux")"_ba << u"Debian GNU/Linux"_s;
    QTest::newRow("single quotes keep backslashes") << R"('a\"b')"_ba << uR"(a\"b)"_s;
    QTest::newRow("escapes in double quotes")
        << R"("say \"hi\" \$HOME \\ \`x\` \n")"_ba << uR"(say "hi" $HOME \ `x` \n)"_s;
    QTest::newRow("escape unquoted") << R"(a\ b)"_ba << u"a b"_s;
    QTest::newRow("unclosed quote") << R"("open)"_ba << u"open"_s;
    QTest::newRow("not UTF-8") << "caf\xe9"_ba << u"caf\uFFFD"_s;
}

void tst_LinuxSystem::valuesAsTheShellReadsThem()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, read);
    QCOMPARE(OsRelease::unquoted(value), read);
}

void tst_LinuxSystem::nameFromTheFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("name");
    QTest::newRow("pretty name") << "# comment\nNAME=x\nPRETTY_NAME=\"Alpine Linux v3.19\"\n"_ba
                                 << u"Alpine Linux v3.19"_s;
    QTest::newRow("name and version") << "NAME=\"Fedora Linux\"\nVERSION=\"39 (Workstation Edition)\"\n"_ba
                                      << u"Fedora Linux 39 (Workstation Edition)"_s;
    QTest::newRow("name alone") << "NAME=NixOS\nPRETTY_NAME=\n"_ba << u"NixOS"_s;
    QTest::newRow("no name at all") << "ID=x\n"_ba << u"Linux"_s;
    QTest::newRow("empty") << QByteArray() << u"Linux"_s;
    QTest::newRow("lines that are not assignments") << "PRETTY NAME=a\n=b\nPRETTY_NAME\n-X=1\n"_ba << u"Linux"_s;
}

void tst_LinuxSystem::nameFromTheFile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, name);
    QCOMPARE(OsRelease::operatingSystem(text).name, name);
}

void tst_LinuxSystem::cpuList_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count"); // -1: not a list
    QTest::newRow("ranges and single CPUs") << "0-3,8,10-11\n"_ba << 7;
    QTest::newRow("one") << "0\n"_ba << 1;
    QTest::newRow("none online") << "\n"_ba << 0;
    QTest::newRow("4096") << "0-4095\n"_ba << 4096;
    QTest::newRow("backwards") << "3-1"_ba << -1;
    QTest::newRow("garbage") << "0-x"_ba << -1;
    QTest::newRow("beyond any machine") << "0-99999999"_ba << -1;
    QTest::newRow("many ranges beyond any machine") << QByteArray("0-60000,").repeated(4) + "1" << -1;
}

void tst_LinuxSystem::cpuList()
{
    QFETCH(QByteArray, text);
    QFETCH(int, count);
    const std::optional<QList<int>> cpus = CpuTopology::cpuList(text);
    QCOMPARE(cpus ? int(cpus->size()) : -1, count);
}

void tst_LinuxSystem::fromTheTree()
{
    LinuxSystem desktop(Trees + u"desktop"_s);
    const std::optional<OperatingSystem> debian = desktop.operatingSystem();
    QVERIFY(debian);
    QCOMPARE(debian->name, u"Debian GNU/Linux 12 (bookworm)"_s);
    QCOMPARE(debian->id, u"debian"_s);
    QCOMPARE(debian->versionId, u"12"_s);
    // cpu3 is offline; cpu0 and cpu2 share a core.
    QCOMPARE(desktop.processorCount().threads, 3);
    QCOMPARE(desktop.processorCount().cores, 2);

    LinuxSystem vendor(Trees + u"vendor"_s);
    QCOMPARE(vendor.operatingSystem()->name, u"Fedora Linux 39 (Workstation Edition)"_s);
    QCOMPARE(vendor.processorCount().threads, 1);
    QCOMPARE(vendor.processorCount().cores, std::nullopt);

    LinuxSystem nothing(Trees + u"none"_s);
    QCOMPARE(nothing.operatingSystem().has_value(), false);
    QCOMPARE(nothing.processorCount().threads, std::nullopt);

    utsname names{};
    QCOMPARE(uname(&names), 0);
    QCOMPARE(desktop.kernel()->release, QString::fromUtf8(names.release));
}

void tst_LinuxSystem::sessionType()
{
    QCOMPARE(LinuxSystem::sessionType(u"x11"_s, true, false), u"x11"_s);
    QCOMPARE(LinuxSystem::sessionType(u"unspecified"_s, true, true), u"wayland"_s);
    QCOMPARE(LinuxSystem::sessionType({}, false, true), u"x11"_s);
    QCOMPARE(LinuxSystem::sessionType({}, false, false), QString());
}

QTEST_GUILESS_MAIN(tst_LinuxSystem)
#include "tst_linuxsystem.moc"
