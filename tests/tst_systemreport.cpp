// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitFormMain.h"
#include "app/Wording.h"
#include "platform/NetworkSource.h"
#include "platform/PrinterSource.h"
#include "platform/fake/FakeDrives.h"
#include "platform/linux/LinuxPlatform.h"
#include "report/JsonReportWriter.h"
#include "report/MarkdownReportWriter.h"
#include "report/PlatformFactReader.h"
#include "report/ReportBuilder.h"
#include "report/TextReportWriter.h"
#include "report/WindowFactReader.h"
#include "support/KeptReports.h"
#include "support/Session.h"
#include "support/TestData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <future>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// A desktop (in the data file) with a brand text padded with NULs, two drives, two services,
// two programs, two printers and the system's own facts.
QByteArray desktop()
{
    return testData(u"report/desktop.json"_s);
}

FakePlatform platformOf(const QByteArray &fixture)
{
    return FakePlatform(FixtureLoader::load(fixture, u"test fixture"_s));
}

const QDateTime TakenAt = QDateTime::fromString(u"2024-05-01T10:00:00+08:00"_s, Qt::ISODate);

SystemFacts factsOf(const MachineReadings &readings)
{
    SystemFacts facts = ReportBuilder::build(readings);
    facts.takenAt = TakenAt;
    return facts;
}

SystemFacts fromPlatform(Platform &platform, std::chrono::milliseconds limit = PlatformFactReader::SourceTimeLimit)
{
    return factsOf(PlatformFactReader::read(platform, limit));
}

QString textOf(const SystemFacts &facts)
{
    return TextReportWriter::write(facts);
}

// The JSON, kept for the schema check and parsed.
QJsonObject jsonOf(const SystemFacts &facts, const QString &name)
{
    const QByteArray json = JsonReportWriter::write(facts);
    keepReport(json, u"systemreport-"_s + name);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("report JSON: %s", qPrintable(error.errorString()));
    return document.object();
}

QJsonValue at(const QJsonObject &json, const QString &path)
{
    QJsonValue value = json;
    for (const QString &step : path.split(u'.')) {
        bool isIndex = false;
        const int index = step.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(step);
    }
    return value;
}

// A print server that accepts the question and never answers, until released.
class HangingPrinters final : public PrinterSource
{
public:
    HangingPrinters(std::shared_future<void> release, std::promise<void> &lastQuestion)
        : m_release(std::move(release))
        , m_lastQuestion(lastQuestion)
    {
    }

    std::optional<QStringList> printerNames() override
    {
        m_release.wait();
        return std::nullopt;
    }
    std::optional<QString> defaultPrinterName() override
    {
        m_lastQuestion.set_value();
        return std::nullopt;
    }
    std::unique_ptr<PrinterHandle> openPrinter(const QString &) override { return nullptr; }
    int documentPropertiesSize(const QString &) override { return -1; }
    std::optional<DeviceMode> documentProperties(const QString &) override { return std::nullopt; }
    std::unique_ptr<InformationContext> createInformationContext(const QString &, const QString &, const QString &,
                                                                 const DeviceMode *) override
    {
        return nullptr;
    }

private:
    std::shared_future<void> m_release;
    std::promise<void> &m_lastQuestion;
};

// The fake machine's drives, one of which hangs in every question that reaches the drive itself.
class OneHungDrive final : public DriveSource
{
public:
    OneHungDrive(FakeMachine &machine, QChar hung, std::shared_future<void> release, std::atomic<int> &alive)
        : m_drives(machine)
        , m_hung(hung)
        , m_release(std::move(release))
        , m_alive(alive)
    {
        ++m_alive;
    }
    ~OneHungDrive() override { --m_alive; }
    OneHungDrive(const OneHungDrive &) = delete;
    OneHungDrive &operator=(const OneHungDrive &) = delete;

    quint32 logicalDrives() override { return m_drives.logicalDrives(); }
    DriveType driveType(const QString &root) override { return m_drives.driveType(root); }
    std::optional<VolumeInformation> volumeInformation(const QString &root) override
    {
        wait(root);
        return m_drives.volumeInformation(root);
    }
    std::optional<QString> remoteName(const QString &name) override { return m_drives.remoteName(name); }
    std::optional<quint64> totalBytes(const QString &root) override
    {
        wait(root);
        return m_drives.totalBytes(root);
    }
    std::optional<quint64> freeBytesForCaller(const QString &root) override
    {
        wait(root);
        return m_drives.freeBytesForCaller(root);
    }
    std::optional<DriveLocation> location(const QString &root) override { return m_drives.location(root); }
    QString currentDirectory() override { return m_drives.currentDirectory(); }
    bool setCurrentDirectory(const QString &path) override { return m_drives.setCurrentDirectory(path); }

private:
    void wait(const QString &root)
    {
        if (root.at(0).toUpper() == m_hung)
            m_release.wait();
    }

    FakeDrives m_drives;
    QChar m_hung;
    std::shared_future<void> m_release;
    std::atomic<int> &m_alive; // sources not yet destroyed, by the threads that ask them
};

// A name server that takes its time.
class SlowNetwork final : public NetworkSource
{
public:
    SlowNetwork(NetworkSource &network, std::chrono::milliseconds delay)
        : m_network(network)
        , m_delay(delay)
    {
    }

    int startup(quint16 version) override { return m_network.startup(version); }
    void cleanup() override { m_network.cleanup(); }
    std::optional<QByteArray> hostName() override { return m_network.hostName(); }
    std::optional<QList<quint32>> hostAddresses(const QByteArray &name) override
    {
        std::this_thread::sleep_for(m_delay);
        return m_network.hostAddresses(name);
    }

private:
    NetworkSource &m_network;
    std::chrono::milliseconds m_delay;
};

// Everything of the fake machine but what a test replaces.
class Replaced final : public Platform
{
public:
    explicit Replaced(FakePlatform &fake)
        : m_fake(fake)
    {
    }
    CpuidSource &cpuid() override { return m_fake.cpuid(); }
    MemorySource &memory() override { return m_fake.memory(); }
    DriveSource &drives() override { return m_fake.drives(); }
    ServiceSource &services() override { return m_fake.services(); }
    RegistrySource &registry() override { return m_fake.registry(); }
    PrinterSource &printers() override { return printerSource ? *printerSource : m_fake.printers(); }
    NetworkSource &network() override { return networkSource ? *networkSource : m_fake.network(); }
    ClockSource &clock() override { return m_fake.clock(); }
    ShellSource &shell() override { return m_fake.shell(); }
    SystemSource &system() override { return m_fake.system(); }
    std::unique_ptr<DriveSource> separateDrives() override
    {
        return driveSources ? driveSources() : m_fake.separateDrives();
    }

    PrinterSource *printerSource = nullptr;
    NetworkSource *networkSource = nullptr;
    std::function<std::unique_ptr<DriveSource>()> driveSources;

private:
    FakePlatform &m_fake;
};

} // namespace

class tst_SystemReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPageInPageOrder();
    void factsAsThePagesShowThem();
    void whatThePagesHoldButDoNotDraw();
    void jsonNumbersAreNumbers();
    void theSystemItself();
    void windowAndPlatformAgree();
    void missingSourcesLeaveTheRest();
    void outsideTextIsPlainAndEscaped();
    void sourceThatNeverAnswersIsLeftOut();
    void oneHungDriveCostsOnlyItself();
    void slowNameServerIsWaitedFor();
    void badSystemFactsKeepTheReportValid();
    void badBytesOnALinuxTree();
    void inEnglishOnlyTheWordsChange_data();
    void inEnglishOnlyTheWordsChange();
};

void tst_SystemReport::everyPageInPageOrder()
{
    FakePlatform platform = platformOf(desktop());
    const SystemFacts facts = fromPlatform(platform);
    const QString text = textOf(facts);
    QVERIFY(text.startsWith(u"Pelzora 2.5\n时间: 2024-05-01T10:00:00+08:00\n主机: pc1\n\n[处理器]\n"_s));
    qsizetype last = 0;
    for (const QString &tab : {u"处理器"_s, u"内存"_s, u"硬盘"_s, u"系统"_s, u"打印机"_s, u"其他"_s, u"关于"_s}) {
        const qsizetype heading = text.indexOf(u"\n[%1]\n"_s.arg(tab));
        QVERIFY2(heading > last, qPrintable(tab));
        last = heading;
    }
    QCOMPARE(facts.missingTexts(), QStringList());
    const QJsonObject json = jsonOf(facts, u"desktop"_s);
    QCOMPARE(json.keys().size(), 13);
    QVERIFY(JsonReportWriter::write(facts).startsWith("{\n  \"schemaVersion\": 1,\n"));
}

void tst_SystemReport::factsAsThePagesShowThem()
{
    FakePlatform platform = platformOf(desktop());
    const QStringList lines = textOf(fromPlatform(platform)).split(u'\n');
    for (const QString &line : {u"供货商ID: GenuineIntel"_s,
                                u"品牌: Fake CPU"_s,
                                u"总的物理内存: 8192 MB"_s,
                                u"可用虚拟内存: 7936 MB"_s,
                                u"已加载内存: 37 %"_s,
                                u"驱动器: c: [system]"_s,
                                u"驱动器序列号: Label = System   VolSer = 0A1B2C3D"_s,
                                u"驱动器分区类型: ext4"_s,
                                u"驱动器类型: 固定驱动器"_s,
                                u"总磁盘大小: 238418 MB"_s,
                                u"磁盘空闲: 65536 MB"_s,
                                u"默认打印机名称: Office: 彩色"_s,
                                u"彩色打印: 打印机支持彩色打印"_s,
                                u"打印机精度: x: 1200 y: 600 DPI (每英寸点数)"_s,
                                u"计算机IP地址: 192.168.0.10"_s,
                                u"计算机名: pc1"_s,
                                u"系统运行时间: 1 天 2 小时 3 分 4 秒"_s,
                                u"版本: 2.5"_s,
                                u"主页: https://pelzora.org/"_s,
                                u"邮箱: team@pelzora.org"_s})
        QVERIFY2(lines.contains(line), qPrintable(line));
    // One voice: every line of a page is a caption with its colon, a list entry, or a heading.
    for (const QString &line : lines)
        QVERIFY2(line.isEmpty() || line.startsWith(u' ') || line.startsWith(u'[') || line.contains(u": "_s)
                     || line.endsWith(u':') || line == u"Pelzora 2.5"_s,
                 qPrintable(line));
}

void tst_SystemReport::whatThePagesHoldButDoNotDraw()
{
    FakePlatform platform = platformOf(desktop());
    const QString text = textOf(fromPlatform(platform));
    QVERIFY(
        text.contains(u"驱动器列表:\n  c: [system]\n    类型: 固定驱动器\n    挂载点: /\n    设备: /dev/sda2\n"
                      u"    卷标: System\n    序列号: 0A1B2C3D\n    文件系统: ext4\n"
                      u"    总大小: 238418 MB（250000000000 字节）\n    可用空间: 65536 MB（68719476736 字节）\n"_s));
    QVERIFY(text.contains(u"    远程名称: //server/share\n"_s));
    QVERIFY(text.contains(u"已安装的服务:\n  CUPS Scheduler\n    单元: cups.service\n"_s));
    // Programs in the list's order, sorted by name.
    QVERIFY(
        text.contains(u"已安装的软件:\n  bash\n    来源: dpkg\n    版本: 5.2.15-2\n    卸载命令: apt-get remove bash\n"
                      u"  vim\n"_s));
    QVERIFY(text.contains(u"已安装打印机:\n  Office\n    默认: 是\n  Draft\n    默认: 否\n"_s));
}

void tst_SystemReport::jsonNumbersAreNumbers()
{
    FakePlatform platform = platformOf(desktop());
    const QJsonObject json = jsonOf(fromPlatform(platform), u"numbers"_s);
    QCOMPARE(at(json, u"schemaVersion"_s).toInt(), 1);
    QCOMPARE(at(json, u"memory.totalPhysicalBytes"_s).toInteger(), 8589934592);
    QCOMPARE(at(json, u"memory.loadPercent"_s).toInteger(), 37);
    QCOMPARE(at(json, u"disk.drives.0.totalBytes"_s).toInteger(), 250000000000);
    // The serial as the window shows it.
    QCOMPARE(at(json, u"disk.drives.0.serial"_s).toString(), u"0A1B2C3D"_s);
    QCOMPARE(at(json, u"disk.drives.1.type"_s).toString(), u"remote"_s);
    QCOMPARE(at(json, u"disk.drives.1.typeText"_s).toString(), u"远程存储器"_s);
    QCOMPARE(at(json, u"disk.type"_s).toString(), u"fixed"_s);
    QCOMPARE(at(json, u"disk.typeText"_s).toString(), u"固定驱动器"_s);
    QCOMPARE(at(json, u"disk.selected"_s).toString(), u"C"_s);
    QCOMPARE(at(json, u"other.uptimeSeconds"_s).toInteger(), 93784);
    QCOMPARE(at(json, u"other.address"_s).toString(), u"192.168.0.10"_s);
    QCOMPARE(at(json, u"printer.resolution.x"_s).toInteger(), 1200);
    QCOMPARE(at(json, u"printer.printers.0.default"_s).toBool(), true);
    QCOMPARE(at(json, u"printer.colorSupported"_s).toBool(), true);
    QCOMPARE(at(json, u"system.services.1.unit"_s).toString(), u"dbus.service"_s);
    QCOMPARE(at(json, u"system.programs.1.removeCommand"_s).toString(), u"apt-get remove vim"_s);
    QCOMPARE(at(json, u"system.programs.0.source"_s).toString(), u"dpkg"_s);
    QCOMPARE(at(json, u"system.programs.0.version"_s).toString(), u"5.2.15-2"_s);
    QVERIFY(at(json, u"system.programs.1.version"_s).isNull());
    QCOMPARE(at(json, u"processor.cpuid"_s).toBool(), true);
    QCOMPARE(at(json, u"about.version"_s).toString(), u"2.5"_s);
    // Processor facts typed, the caption lines without the screen's punctuation.
    QCOMPARE(at(json, u"processor.x86.vendor"_s).toString(), u"GenuineIntel"_s);
    QCOMPARE(at(json, u"processor.x86.family"_s).toInt(), 6);
    QCOMPARE(at(json, u"processor.x86.model"_s).toInt(), 14);
    QCOMPARE(at(json, u"processor.x86.displayModel"_s).toInt(), 158);
    QCOMPARE(at(json, u"processor.x86.stepping"_s).toInt(), 10);
    QCOMPARE(at(json, u"processor.x86.features.sse2"_s).toBool(), true);
    QCOMPARE(at(json, u"processor.x86.extendedLeaves"_s).toInt(), 8);
    QCOMPARE(at(json, u"processor.x86.brand"_s).toString(), u"Fake CPU"_s);
    QCOMPARE(at(json, u"processor.lines.0"_s).toObject(),
             (QJsonObject{{u"caption"_s, u"供货商ID"_s}, {u"value"_s, u"GenuineIntel"_s}}));
    QCOMPARE(at(json, u"processor.lines"_s).toArray().last().toObject(),
             (QJsonObject{{u"caption"_s, u"品牌"_s}, {u"value"_s, u"Fake CPU"_s}}));
}

void tst_SystemReport::theSystemItself()
{
    FakePlatform platform = platformOf(desktop());
    const SystemFacts facts = fromPlatform(platform);
    const QJsonObject json = jsonOf(facts, u"system"_s);
    QCOMPARE(at(json, u"other.operatingSystem.name"_s).toString(), u"Debian GNU/Linux 12 (bookworm)"_s);
    QCOMPARE(at(json, u"other.operatingSystem.versionId"_s).toString(), u"12"_s);
    QCOMPARE(at(json, u"other.kernel.release"_s).toString(), u"6.1.0-18-amd64"_s);
    QCOMPARE(at(json, u"other.architecture"_s).toString(), u"x86_64"_s);
    QCOMPARE(at(json, u"other.cores"_s).toInt(), 4);
    QCOMPARE(at(json, u"other.threads"_s).toInt(), 8);
    QCOMPARE(at(json, u"other.session"_s).toString(), u"wayland"_s);
    QCOMPARE(at(json, u"processor.architecture"_s).toString(), u"x86_64"_s);
    QCOMPARE(at(json, u"processor.logicalProcessors"_s).toInt(), 8);
    QVERIFY(textOf(facts).contains(u"发行版: Debian GNU/Linux 12 (bookworm)\n内核: Linux 6.1.0-18-amd64\n架构: x86_64\n"
                                   u"处理器: 4 核 / 8 线程\n桌面: GNOME (Wayland)\n"_s));
}

// The window's copy and the command line give the same report of the same machine.
void tst_SystemReport::windowAndPlatformAgree()
{
    Session session(desktop());
    session.wait(1200);
    session.page(2);
    session.wait(2100);
    FakePlatform platform = platformOf(desktop());
    const SystemFacts window = factsOf(WindowFactReader::read(session->window()));
    const SystemFacts command = fromPlatform(platform);
    QCOMPARE(textOf(window), textOf(command));
    QCOMPARE(jsonOf(window, u"window"_s), jsonOf(command, u"command"_s));
}

void tst_SystemReport::missingSourcesLeaveTheRest()
{
    FakePlatform platform = platformOf(R"({ "cpuid": { "available": false }, "services": { "managerOpens": false },
                                            "memory": [ { "load": 5, "totalPhys": 1048576 } ],
                                            "host": { "name": "pc1", "resolves": false } })");
    const SystemFacts facts = fromPlatform(platform);
    const QString text = textOf(facts);
    for (const QString &part :
         {u"[处理器]\nCPUID指令: 不支持.\n\n"_s, u"驱动器列表: 无\n"_s,
          u"已安装的服务: 无法读取（无法打开服务管理器）\n"_s,
          u"已安装打印机: 无\n默认打印机名称: 无（没有默认打印机）\n"_s,
          u"计算机IP地址: 无（计算机名没有 IPv4 地址）\n"_s, u"总的物理内存: 1 MB\n"_s, u"计算机名: pc1\n"_s,
          u"发行版: 无法读取（系统没有给出）\n"_s, u"邮箱: team@pelzora.org\n"_s})
        QVERIFY2(text.contains(part), qPrintable(part));
    const QJsonObject json = jsonOf(facts, u"missing"_s);
    QVERIFY(at(json, u"other.address"_s).isNull());
    QCOMPARE(
        at(json, u"other.missing.0"_s).toObject(),
        (QJsonObject{{u"fact"_s, u"address"_s}, {u"reason"_s, u"absent"_s}, {u"text"_s, u"计算机名没有 IPv4 地址"_s}}));
    QCOMPARE(at(json, u"printer.printers"_s).toArray(), QJsonArray());
    QCOMPARE(at(json, u"system.missing.0.reason"_s).toString(), u"failed"_s);
    QVERIFY(at(json, u"processor.x86"_s).isNull());
    QCOMPARE(at(json, u"processor.missing.0.fact"_s).toString(), u"x86"_s);
}

void tst_SystemReport::outsideTextIsPlainAndEscaped()
{
    const QString label = u"\u202Egnp.exe"_s;
    const QString printer = u"<b>Office</b>"_s;
    const QString hostile = u"line\nbreak\x1b[31m\u0085"_s;
    FakePlatform platform = platformOf(
        QJsonDocument(
            QJsonObject{
                {u"drives"_s,
                 QJsonArray{QJsonObject{{u"letter"_s, u"C"_s}, {u"label"_s, label}, {u"fileSystem"_s, hostile}}}},
                {u"printers"_s,
                 QJsonObject{{u"list"_s, QJsonArray{QJsonObject{{u"name"_s, printer}}}}, {u"default"_s, printer}}},
                {u"services"_s,
                 QJsonObject{{u"displayNames"_s, QJsonArray{hostile}}, {u"names"_s, QJsonArray{u"a\0b"_s}}}},
            })
            .toJson());
    const SystemFacts facts = fromPlatform(platform);

    const QString text = textOf(facts);
    QVERIFY(text.contains(u"  line\u240Abreak\u241B[31m\uFFFD\n    单元: ab\n"_s));
    QVERIFY(text.contains(u"    卷标: \u202Egnp.exe\n"_s));
    QVERIFY(text.contains(u"  <b>Office</b>\n    默认: 是\n"_s));
    QVERIFY(!text.contains(QChar(u'\x1b')) && !text.contains(QChar(u'\0')));

    const QByteArray json = JsonReportWriter::write(facts);
    QVERIFY(json.contains(R"("label": "\u202egnp.exe")"));
    QVERIFY(json.contains(R"("name": "line\nbreak\u001b[31m\u0085")"));
    QVERIFY(!json.contains(u"\u202E"_s.toUtf8()) && !json.contains(u"\u0085"_s.toUtf8()));
    QCOMPARE(at(jsonOf(facts, u"hostile"_s), u"printer.printers.0.name"_s).toString(), printer);
    QCOMPARE(at(jsonOf(facts, u"hostile"_s), u"system.services.0.unit"_s).toString(), u"ab"_s);
}

void tst_SystemReport::sourceThatNeverAnswersIsLeftOut()
{
    std::promise<void> release;
    std::promise<void> lastQuestion;
    FakePlatform fake = platformOf(desktop());
    HangingPrinters printers(release.get_future().share(), lastQuestion);
    Replaced platform(fake);
    platform.printerSource = &printers;
    QElapsedTimer timer;
    timer.start();
    const SystemFacts facts = fromPlatform(platform, std::chrono::milliseconds(300));
    QVERIFY(timer.elapsed() < 2000);
    release.set_value();
    // After its last question the query no longer touches the platform, which may then go.
    lastQuestion.get_future().wait();
    const QString text = textOf(facts);
    QVERIFY(text.contains(u"[打印机]\n已安装打印机: 无法读取（300 毫秒内没有回答）\n"_s));
    QVERIFY(text.contains(u"总的物理内存: 8192 MB\n"_s));
    QVERIFY(text.contains(u"计算机名: pc1\n"_s));
    QCOMPARE(at(jsonOf(facts, u"hung-printers"_s), u"printer.missing.0.reason"_s).toString(), u"noAnswer"_s);
}

// One drive that never answers costs only itself: the others are all there, and it is
// listed as missing with its mount point.
void tst_SystemReport::oneHungDriveCostsOnlyItself()
{
    FakePlatform fake = platformOf(R"({ "drives": [
        { "letter": "C", "type": 3, "label": "System", "serial": "0x0A1B2C3D", "fileSystem": "ext4",
          "totalBytes": 1048576, "freeBytes": 1024, "mountPoint": "/", "device": "/dev/sda2" },
        { "letter": "E", "type": 4, "fileSystem": "fuse.sshfs", "mountPoint": "/mnt/hung", "device": "nas:/" },
        { "letter": "F", "type": 2, "label": "USB", "serial": "0x00000042", "fileSystem": "vfat",
          "totalBytes": 2048, "freeBytes": 1024, "mountPoint": "/media/usb", "device": "/dev/sdb1" } ] })");
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<int> alive = 0;
    Replaced platform(fake);
    platform.driveSources = [&fake, released, &alive] {
        return std::make_unique<OneHungDrive>(fake.machine(), u'E', released, alive);
    };
    QElapsedTimer timer;
    timer.start();
    const SystemFacts facts = fromPlatform(platform, std::chrono::milliseconds(300));
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    release.set_value();
    // The thread left asking the hung drive ends once it answers; the machine must outlive it.
    QTRY_COMPARE(alive.load(), 0);
    const QJsonObject json = jsonOf(facts, u"hung-drive"_s);
    QCOMPARE(at(json, u"disk.drives.0.serial"_s).toString(), u"0A1B2C3D"_s);
    QCOMPARE(at(json, u"disk.drives.0.totalBytes"_s).toInteger(), 1048576);
    QCOMPARE(at(json, u"disk.drives.2.label"_s).toString(), u"USB"_s);
    QCOMPARE(at(json, u"disk.drives.1.mountPoint"_s).toString(), u"/mnt/hung"_s);
    QVERIFY(at(json, u"disk.drives.1.totalBytes"_s).isNull());
    QCOMPARE(at(json, u"disk.missing"_s).toArray().size(), 1);
    QCOMPARE(at(json, u"disk.missing.0.letter"_s).toString(), u"E"_s);
    QCOMPARE(at(json, u"disk.missing.0.mountPoint"_s).toString(), u"/mnt/hung"_s);
    QCOMPARE(at(json, u"disk.missing.0.reason"_s).toString(), u"noAnswer"_s);
    QVERIFY(textOf(facts).contains(u"  e:\n    类型: 远程存储器\n    挂载点: /mnt/hung\n    设备: nas:/\n"
                                   u"    远程名称: 无法读取（300 毫秒内没有回答）\n"_s));
}

// A name server that answers within the time limit is waited for; one that does not is missing, never "".
void tst_SystemReport::slowNameServerIsWaitedFor()
{
    FakePlatform fake = platformOf(R"({ "host": { "name": "pc1", "addresses": ["10.0.0.2"] } })");
    SlowNetwork slow(fake.network(), std::chrono::milliseconds(100));
    Replaced platform(fake);
    platform.networkSource = &slow;
    QCOMPARE(at(jsonOf(fromPlatform(platform, std::chrono::milliseconds(1000)), u"slow-name"_s), u"other.address"_s)
                 .toString(),
             u"10.0.0.2"_s);

    SlowNetwork dead(fake.network(), std::chrono::milliseconds(600));
    platform.networkSource = &dead;
    const QJsonObject json = jsonOf(fromPlatform(platform, std::chrono::milliseconds(200)), u"dead-name"_s);
    QVERIFY(at(json, u"other.address"_s).isNull());
    QCOMPARE(at(json, u"other.hostName"_s).toString(), u"pc1"_s);
    QCOMPARE(
        at(json, u"other.missing.0"_s).toObject(),
        (QJsonObject{{u"fact"_s, u"address"_s}, {u"reason"_s, u"noAnswer"_s}, {u"text"_s, u"200 毫秒内没有回答"_s}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // until the lookup that was left has ended
}

void tst_SystemReport::badSystemFactsKeepTheReportValid()
{
    QJsonObject system{{u"osRelease"_s, u"PRETTY_NAME='\u202Eevil\x1b[2J' \"x\"\nID=\n"_s},
                       {u"kernelRelease"_s, u"6.1\n0"_s},
                       {u"cpus"_s, QJsonObject{{u"online"_s, 4096}, {u"cores"_s, 0}}}};
    QJsonObject host{{u"name"_s, u"pc\u200F1\x07"_s}};
    FakePlatform platform = platformOf(QJsonDocument(QJsonObject{{u"system"_s, system}, {u"host"_s, host}}).toJson());
    const SystemFacts facts = fromPlatform(platform);
    const QJsonObject json = jsonOf(facts, u"bad-system"_s);
    QCOMPARE(at(json, u"other.operatingSystem.name"_s).toString(), u"\u202Eevil\x1b[2J x"_s);
    QVERIFY(at(json, u"other.operatingSystem.id"_s).isNull());
    QCOMPARE(at(json, u"other.threads"_s).toInt(), 4096);
    QCOMPARE(at(json, u"other.hostName"_s).toString(), u"pc\u200F1\x07"_s);
    const QString text = textOf(facts);
    for (const QString &part : {u"发行版: \u202Eevil\u241B[2J x\n"_s, u"计算机名: pc\u200F1\u2407\n"_s,
                                u"内核: Linux 6.1\u240A0\n"_s, u"处理器: 0 核 / 4096 线程\n"_s})
        QVERIFY2(text.contains(part), qPrintable(part));
}

// Files with bytes that are no UTF-8, control characters and a 4,096-CPU list, read by the Linux backend.
void tst_SystemReport::badBytesOnALinuxTree()
{
    const QTemporaryDir tree;
    const auto write = [&tree](const QString &path, const QByteArray &bytes) {
        QDir(tree.path()).mkpath(QFileInfo(path).path());
        QFile file(tree.filePath(path));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    write(u"etc/os-release"_s, "PRETTY_NAME=\"Caf\xe9 \\\"OS\\\" \x1b[1m\xe2\x80\xae\"\nID=caf\xc3\n");
    write(u"var/lib/dpkg/status"_s, "Package: bad\xff\x07name\nStatus: install ok installed\nVersion: 1.0\x1b\n\n");
    write(u"sys/devices/system/cpu/online"_s, "0-4095\n");
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    LinuxPlatform platform(tree.path(), QueryPatience::answerOfTheMoment());
    const SystemFacts facts = fromPlatform(platform);
    const QJsonObject json = jsonOf(facts, u"bad-bytes"_s);
    QCOMPARE(at(json, u"other.operatingSystem.name"_s).toString(), u"Caf\uFFFD \"OS\" \x1b[1m\u202E"_s);
    QCOMPARE(at(json, u"system.programs.0.name"_s).toString(), u"bad\uFFFD\x07name"_s);
    QCOMPARE(at(json, u"other.threads"_s).toInt(), 4096);
    QVERIFY(at(json, u"other.cores"_s).isNull());
    const QString text = textOf(facts);
    QVERIFY(text.contains(u"  bad\uFFFD\u2407name\n    来源: dpkg\n    版本: 1.0\u241B\n"_s));
    QVERIFY(text.contains(u"处理器: 4096 线程\n"_s));
    for (const QChar c : text)
        QVERIFY(c == u'\n' || c.unicode() >= 0x20);
}

namespace {

// The values that are words for people, which follow the language: everything else is for tools.
bool isWords(const QString &path)
{
    static const QRegularExpression Words(u"(typeText|caption|text)$|^processor\\.lines\\..*\\.value$"_s);
    return Words.match(path).hasMatch();
}

void compareForTools(const QJsonValue &chinese, const QJsonValue &english, const QString &path, QStringList &faults)
{
    if (chinese.type() != english.type()) {
        faults.append(path + u": another type"_s);
    } else if (chinese.isObject()) {
        if (chinese.toObject().keys() != english.toObject().keys())
            faults.append(path + u": other keys"_s);
        for (const QString &key : chinese.toObject().keys())
            compareForTools(chinese[key], english[key], path.isEmpty() ? key : path + u'.' + key, faults);
    } else if (chinese.isArray()) {
        if (chinese.toArray().size() != english.toArray().size())
            faults.append(path + u": another length"_s);
        for (qsizetype i = 0; i < chinese.toArray().size(); ++i)
            compareForTools(chinese[i], english[i], path + u'.' + QString::number(i), faults);
    } else if (chinese != english && !isWords(path)) {
        faults.append(u"%1: %2 / %3"_s.arg(path, chinese.toVariant().toString(), english.toVariant().toString()));
    }
}

} // namespace

void tst_SystemReport::inEnglishOnlyTheWordsChange_data()
{
    QTest::addColumn<QByteArray>("fixture");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("desktop") << desktop()
                             << QStringList{u"[CPU]\nVendor ID: GenuineIntel\n"_s,
                                            u"\nDrive type: Fixed drive\n"_s,
                                            u"    Total size: 238418 MB (250000000000 bytes)\n"_s,
                                            u"\nColour printing: Printer supports colour printing\n"_s,
                                            u"\nSystem uptime: 1 d 2 h 3 min 4 s\n"_s,
                                            u"\nProcessor: 4 cores / 8 threads\n"_s};
    QTest::newRow("missing sources")
        << QByteArray(R"({ "cpuid": { "available": false }, "services": { "managerOpens": false },
                           "host": { "name": "pc1", "resolves": false }, "system": { "cpus": { "online": 1 } } })")
        << QStringList{u"\nCPUID instruction: not supported.\n"_s,
                       u"\nInstalled services: unreadable (the service manager cannot be opened)\n"_s,
                       u"\nIP address: none (the computer name has no IPv4 address)\n"_s, u"\nProcessor: 1 thread\n"_s};
}

void tst_SystemReport::inEnglishOnlyTheWordsChange()
{
    QFETCH(QByteArray, fixture);
    QFETCH(QStringList, lines);
    FakePlatform platform = platformOf(fixture);
    const SystemFacts chinese = fromPlatform(platform);
    SystemFacts english = factsOf(PlatformFactReader::read(platform, PlatformFactReader::SourceTimeLimit,
                                                           Wording::of(UiLanguage::Language::English)));
    QStringList faults;
    compareForTools(jsonOf(chinese, u"chinese"_s), jsonOf(english, u"english"_s), {}, faults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    const QString text = textOf(english);
    for (const QString &line : lines)
        QVERIFY2(text.contains(line), qPrintable(line));
    // Every word translated: nothing Chinese is left where the machine's names have none.
    static const QRegularExpression Han(u"\\p{Han}"_s);
    QVERIFY2(!text.contains(Han), qPrintable(text));
    QVERIFY(!MarkdownReportWriter::write(english).contains(Han));
}

QTEST_MAIN(tst_SystemReport)
#include "tst_systemreport.moc"
