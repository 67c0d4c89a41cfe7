// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/JsonReportWriter.h"
#include "report/MarkdownReportWriter.h"
#include "report/PlatformFactReader.h"
#include "report/ReportBuilder.h"
#include "report/ReportRedactor.h"
#include "report/TextReportWriter.h"
#include "support/KeptReports.h"
#include "support/Session.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A machine whose report holds every kind of personal fact, and things that only look like them.
const QByteArray Machine = R"({
  "cpuid": { "leaves": { "0x0": ["0x3", "0x756E6547", "0x6C65746E", "0x49656E69"],
                         "0x1": ["0x000906EA", "0", "0", "0x00040000"], "0x3": ["0", "0", "0x89ABCDEF", "0x01234567"] } },
  "drives": [ { "letter": "C", "type": 3, "label": "System", "serial": "0x5E1F30C2", "fileSystem": "ext4",
                "mountPoint": "/", "device": "/dev/disk/by-uuid/3f2a6c1e-0b4d-4c39-9a55-d2f1e0c8b7a6" },
              { "letter": "D", "type": 2, "label": "ann", "serial": "0x00000042", "fileSystem": "vfat",
                "mountPoint": "/media/ann/USB STICK", "device": "/dev/sdb1" },
              { "letter": "E", "type": 4, "serial": "0x5E1F30C2", "fileSystem": "nfs4", "mountPoint": "/home/ann/nas",
                "remoteName": "192.168.1.5:/export", "device": "192.168.1.5:/export" },
              { "letter": "F", "type": 4, "fileSystem": "cifs", "mountPoint": "/mnt/v6",
                "remoteName": "\/\/[fe80::1ff:fe23:4567:890a%eth0]/share" } ],
  "uninstall": { "keys": [ { "name": "tool", "values": {
      "DisplayName": { "type": "REG_SZ", "data": "ann-desktop-tools" },
      "UninstallString": { "type": "REG_SZ", "data": "apt-get remove ann-desktop-tools" },
      "DisplayVersion": { "type": "REG_SZ", "data": "10.0.0.1" } } } ] },
  "printers": { "list": [ { "name": "Laser_00:1B:A9:12:34:56" } ], "default": "Laser_00:1B:A9:12:34:56" },
  "host": { "name": "ann-desktop", "addresses": ["10.20.30.40"] },
  "tickCount": ["1000"]
})";

SystemFacts redactedFacts()
{
    FakePlatform platform(FixtureLoader::load(Machine, u"test fixture"_s));
    SystemFacts facts = ReportBuilder::build(PlatformFactReader::read(platform));
    ReportRedactor::redact(facts);
    return facts;
}

bool containsWord(const QString &text, const QString &word)
{
    return text.contains(QRegularExpression(u"(?<![\\w-])%1(?![\\w-])"_s.arg(QRegularExpression::escape(word))));
}

} // namespace

class tst_ReportRedactor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leavesNothingPersonal();
    void sameValueSamePlaceholder();
    void changesNothingElse();
};

void tst_ReportRedactor::leavesNothingPersonal()
{
    const SystemFacts facts = redactedFacts();
    const QByteArray json = JsonReportWriter::write(facts);
    keepReport(json, u"redacted"_s);
    for (const QString &report :
         {TextReportWriter::write(facts), QString::fromUtf8(json), MarkdownReportWriter::write(facts)}) {
        for (const QString &secret :
             {u"ann-desktop"_s, u"10.20.30.40"_s, u"192.168.1.5"_s, u"5E1F30C2"_s, u"00000042"_s, u"/home/ann"_s,
              u"/media/ann"_s, u"3f2a6c1e-0b4d-4c39-9a55-d2f1e0c8b7a6"_s, u"00:1B:A9:12:34:56"_s,
              u"fe80::1ff:fe23:4567:890a%eth0"_s, u"0009-06EA-0123-4567-89AB-CDEF"_s})
            QVERIFY2(!containsWord(report, secret), qPrintable(secret));
    }
    QVERIFY(TextReportWriter::write(facts).contains(u"\n主机: <host-1>\n已隐去个人信息: "_s));
    QVERIFY(json.contains("\"redacted\": true"));
}

void tst_ReportRedactor::sameValueSamePlaceholder()
{
    const QString text = TextReportWriter::write(redactedFacts());
    QVERIFY(text.contains(u"计算机名: <host-1>\n"_s));
    // The processor's serial comes first; C and E share theirs.
    QCOMPARE(text.count(u"    序列号: <serial-2>\n"_s), 2);
    for (const QString &part :
         {u"驱动器序列号: Label = System   VolSer = <serial-2>\n"_s, u"    挂载点: /media/<user-1>/USB STICK\n"_s,
          u"    挂载点: /home/<user-1>/nas\n"_s, u"    远程名称: <ip-1>:/export\n    序列号"_s,
          u"    设备: /dev/disk/by-uuid/<uuid-1>\n"_s, u"  f: //[<ip-2>]/share\n"_s, u"  Laser_<mac-1>\n"_s})
        QVERIFY2(text.contains(part), qPrintable(part));
}

void tst_ReportRedactor::changesNothingElse()
{
    const QString text = TextReportWriter::write(redactedFacts());
    // A version that looks like an address, a label that is a user's name, the program's own addresses.
    for (const QString &part : {u"    版本: 10.0.0.1\n"_s, u"    卷标: ann\n"_s, u"主页: https://pelzora.org/\n"_s,
                                u"  <host-1>-tools\n"_s, u"系统运行时间: 0 天 0 小时 0 分 1 秒\n"_s})
        QVERIFY2(text.contains(part), qPrintable(part));
}

QTEST_MAIN(tst_ReportRedactor)
#include "tst_reportredactor.moc"
