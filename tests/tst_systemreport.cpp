// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SystemReport.h"
#include "app/UnitFormMain.h"
#include "platform/PrinterSource.h"
#include "support/Session.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QTest>

#include <future>

using namespace Qt::StringLiterals;

namespace {

// A desktop (in the data file) with a brand text padded with NULs, two drives, two services,
// two programs and two printers.
QByteArray desktop()
{
    QFile file(QStringLiteral(PELZORA_TEST_DATA "/report/desktop.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return file.readAll();
}

FakePlatform platformOf(const QByteArray &fixture)
{
    return FakePlatform(FixtureLoader::load(fixture, u"test fixture"_s));
}

QJsonObject jsonOf(const SystemReport &report)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(report.toJson(), &error);
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

} // namespace

class tst_SystemReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPageInPageOrder();
    void factsAsThePagesShowThem();
    void whatThePagesHoldButDoNotDraw();
    void jsonNumbersAreNumbers();
    void windowAndPlatformAgree();
    void missingSourcesLeaveTheRest();
    void outsideTextIsPlainAndEscaped();
    void sourceThatNeverAnswersIsLeftOut();
};

void tst_SystemReport::everyPageInPageOrder()
{
    FakePlatform platform = platformOf(desktop());
    const QString text = SystemReport::fromPlatform(platform).toText();
    QVERIFY(text.startsWith(u"Pelzora 2.5\n"_s));
    qsizetype last = 0;
    for (const QString &tab : {u"处理器"_s, u"内存"_s, u"硬盘"_s, u"系统"_s, u"打印机"_s, u"其他"_s, u"关于"_s}) {
        const qsizetype heading = text.indexOf(u"\n[%1]\n"_s.arg(tab));
        QVERIFY2(heading > last, qPrintable(tab));
        last = heading;
    }
    QVERIFY(SystemReport::fromPlatform(platform).missing().isEmpty());
}

void tst_SystemReport::factsAsThePagesShowThem()
{
    FakePlatform platform = platformOf(desktop());
    const QStringList lines = SystemReport::fromPlatform(platform).toText().split(u'\n');
    for (const QString &line : {u"   - 供货商ID: GenuineIntel"_s,
                                u"   - Fake CPU"_s,
                                u"总的物理内存: 8192 MB"_s,
                                u"可用虚拟内存: 7936 MB"_s,
                                u"已加载内存: 37 %"_s,
                                u"HDD: c: [system]"_s,
                                u"驱动器序列号: Label = System   VolSer = 0A1B2C3D"_s,
                                u"驱动器分区类型: ext4"_s,
                                u"驱动器类型: 固定驱动器"_s,
                                u"总磁盘大小: 238418 MB"_s,
                                u"磁盘空闲: 65536 MB"_s,
                                u"默认打印机名称: Office: 彩色"_s,
                                u"打印机支持彩色打印"_s,
                                u"打印机精度: x: 1200 y: 600 DPI (每英寸点数)"_s,
                                u"计算机IP地址: 192.168.0.10"_s,
                                u"计算机名 pc1"_s,
                                u"系统运行时间: 运行时间: 1 天 2 小时 3 分 4 秒"_s,
                                u"(Ver 2.5)"_s,
                                u"主页: https://pelzora.org/"_s,
                                u"邮箱: team@pelzora.org"_s})
        QVERIFY2(lines.contains(line), qPrintable(line));
}

void tst_SystemReport::whatThePagesHoldButDoNotDraw()
{
    FakePlatform platform = platformOf(desktop());
    const QString text = SystemReport::fromPlatform(platform).toText();
    QVERIFY(text.contains(u"  drive: C:\n    mountPoint: /\n    device: /dev/sda2\n    type: fixed (固定驱动器)\n"
                          u"    label: System\n    serial: 0A1B2C3D\n    fileSystem: ext4\n"
                          u"    totalBytes: 250000000000\n    freeBytes: 68719476736\n"_s));
    QVERIFY(text.contains(u"    remoteName: //server/share\n"_s));
    QVERIFY(text.contains(u"  service: CUPS Scheduler\n    unit: cups.service\n"_s));
    // Programs in the list's order, sorted by name.
    QVERIFY(text.contains(u"  program: bash\n    remove: apt-get remove bash\n  program: vim\n"_s));
    QVERIFY(text.contains(u"  default printer: Office\n  printer: Draft\n"_s));
}

void tst_SystemReport::jsonNumbersAreNumbers()
{
    FakePlatform platform = platformOf(desktop());
    const QJsonObject json = jsonOf(SystemReport::fromPlatform(platform));
    QCOMPARE(at(json, u"memory.totalPhysicalBytes"_s).toInteger(), 8589934592);
    QCOMPARE(at(json, u"memory.loadPercent"_s).toInteger(), 37);
    QCOMPARE(at(json, u"disk.drives.0.totalBytes"_s).toInteger(), 250000000000);
    QCOMPARE(at(json, u"disk.drives.0.serial"_s).toInteger(), 0x0A1B2C3D);
    QCOMPARE(at(json, u"disk.drives.1.type"_s).toString(), u"remote"_s);
    QCOMPARE(at(json, u"disk.selected"_s).toString(), u"C"_s);
    QCOMPARE(at(json, u"other.uptimeSeconds"_s).toInteger(), 93784);
    QCOMPARE(at(json, u"other.address"_s).toString(), u"192.168.0.10"_s);
    QCOMPARE(at(json, u"printer.resolution.x"_s).toInteger(), 1200);
    QCOMPARE(at(json, u"printer.printers.0.default"_s).toBool(), true);
    QCOMPARE(at(json, u"printer.colorSupported"_s).toBool(), true);
    QCOMPARE(at(json, u"system.services.1.unit"_s).toString(), u"dbus.service"_s);
    QCOMPARE(at(json, u"system.programs.1.removeCommand"_s).toString(), u"apt-get remove vim"_s);
    QCOMPARE(at(json, u"processor.cpuid"_s).toBool(), true);
    QCOMPARE(at(json, u"about.version"_s).toString(), u"2.5"_s);
}

// The window's copy and the command line give the same report of the same machine.
void tst_SystemReport::windowAndPlatformAgree()
{
    Session session(desktop());
    session.wait(1200);
    session.page(2);
    session.wait(2100);
    FakePlatform platform = platformOf(desktop());
    const SystemReport fromWindow = SystemReport::fromWindow(session->window());
    const SystemReport fromPlatform = SystemReport::fromPlatform(platform);
    QCOMPARE(fromWindow.toText(), fromPlatform.toText());
    QCOMPARE(jsonOf(fromWindow), jsonOf(fromPlatform));
}

void tst_SystemReport::missingSourcesLeaveTheRest()
{
    FakePlatform platform = platformOf(R"({ "cpuid": { "available": false }, "services": { "managerOpens": false },
                                            "memory": [ { "load": 5, "totalPhys": 1048576 } ],
                                            "host": { "name": "pc1" } })");
    const SystemReport report = SystemReport::fromPlatform(platform);
    const QString text = report.toText();
    QVERIFY(text.contains(u"   - CPUID指令: 不支持.\n(missing: the processor has no CPUID instruction)\n"_s));
    QVERIFY(text.contains(u"(missing: no drives)\n"_s));
    QVERIFY(text.contains(u"(missing: the service list cannot be read)\n"_s));
    QVERIFY(text.contains(u"(missing: no printers)\n"_s));
    QVERIFY(text.contains(u"总的物理内存: 1 MB\n"_s));
    QVERIFY(text.contains(u"计算机名 pc1\n"_s));
    QVERIFY(text.contains(u"邮箱: team@pelzora.org\n"_s));
    QCOMPARE(at(jsonOf(report), u"printer.missing.0"_s).toString(), u"no printers"_s);
    QCOMPARE(report.missing().size(), 5); // CPUID, drives, services, printers, no default printer
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
    const SystemReport report = SystemReport::fromPlatform(platform);

    const QString text = report.toText();
    QVERIFY(text.contains(u"  service: line\u240Abreak\u241B[31m\uFFFD\n    unit: ab\n"_s));
    QVERIFY(text.contains(u"    label: \u202Egnp.exe\n"_s));
    QVERIFY(text.contains(u"  default printer: <b>Office</b>\n"_s));
    QVERIFY(!text.contains(QChar(u'\x1b')) && !text.contains(QChar(u'\0')));

    const QByteArray json = report.toJson();
    QVERIFY(json.contains(R"("label": "\u202egnp.exe")"));
    QVERIFY(json.contains(R"("name": "line\nbreak\u001b[31m\u0085")"));
    QVERIFY(!json.contains(u"\u202E"_s.toUtf8()) && !json.contains(u"\u0085"_s.toUtf8()));
    QCOMPARE(at(jsonOf(report), u"printer.printers.0.name"_s).toString(), printer);
    QCOMPARE(at(jsonOf(report), u"system.services.0.unit"_s).toString(), u"ab"_s);
}

void tst_SystemReport::sourceThatNeverAnswersIsLeftOut()
{
    // Everything of the fake machine but its printers, which hang.
    class Hanging final : public Platform
    {
    public:
        Hanging(FakePlatform &fake, std::shared_future<void> release, std::promise<void> &lastQuestion)
            : m_fake(fake)
            , m_printers(std::move(release), lastQuestion)
        {
        }
        CpuidSource &cpuid() override { return m_fake.cpuid(); }
        MemorySource &memory() override { return m_fake.memory(); }
        DriveSource &drives() override { return m_fake.drives(); }
        ServiceSource &services() override { return m_fake.services(); }
        RegistrySource &registry() override { return m_fake.registry(); }
        PrinterSource &printers() override { return m_printers; }
        NetworkSource &network() override { return m_fake.network(); }
        ClockSource &clock() override { return m_fake.clock(); }
        ShellSource &shell() override { return m_fake.shell(); }

    private:
        FakePlatform &m_fake;
        HangingPrinters m_printers;
    };

    std::promise<void> release;
    std::promise<void> lastQuestion;
    FakePlatform fake = platformOf(desktop());
    Hanging platform(fake, release.get_future().share(), lastQuestion);
    QElapsedTimer timer;
    timer.start();
    const SystemReport report = SystemReport::fromPlatform(platform, std::chrono::milliseconds(300));
    QVERIFY(timer.elapsed() < 2000);
    release.set_value();
    // After its last question the query no longer touches the platform, which may then go.
    lastQuestion.get_future().wait();
    const QString text = report.toText();
    QVERIFY(text.contains(u"[打印机]\n(missing: no answer within 300 ms)\n"_s));
    QVERIFY(text.contains(u"总的物理内存: 8192 MB\n"_s));
    QVERIFY(text.contains(u"计算机名 pc1\n"_s));
}

QTEST_MAIN(tst_SystemReport)
#include "tst_systemreport.moc"
