// SPDX-License-Identifier: GPL-3.0-or-later
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The program as a user starts it, on a machine without a display or a print server.
Run run(const QStringList &arguments, const QString &outputFile = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        environment.remove(name);
    environment.insert(u"CUPS_SERVER"_s, u"/nonexistent/cups.sock"_s);
    process.setProcessEnvironment(environment);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(QStringLiteral(PELZORA_PROGRAM), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void version();
    void qtOptionsPassThrough();
    void help();
    void badCommandLine_data();
    void badCommandLine();
    void textReportWithoutDisplay();
    void jsonReport();
    void failedWriteExitsOne();
};

void tst_CommandLine::version()
{
    const Run result = run({u"--version"_s});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, "Pelzora 2.5\n");
}

// Qt's own options are for the window; they are no error.
void tst_CommandLine::qtOptionsPassThrough()
{
    const Run result = run({u"-platform"_s, u"offscreen"_s, u"-reverse"_s, u"--version"_s});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, "Pelzora 2.5\n");
}

void tst_CommandLine::help()
{
    const Run result = run({u"--help"_s});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.startsWith("Usage: pelzora [options]\n"));
    QVERIFY(result.out.contains("--report <format>"));
    QVERIFY(!result.out.contains("platform"));
}

void tst_CommandLine::badCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");
    QTest::newRow("unknown option") << QStringList{u"--bogus"_s} << "pelzora: Unknown option 'bogus'.\n"_ba;
    QTest::newRow("unknown short option") << QStringList{u"-x"_s} << "pelzora: Unknown option 'x'.\n"_ba;
    QTest::newRow("unknown report format")
        << QStringList{u"--report=xml"_s}
        << "pelzora: Unknown report format 'xml': give --report or --report=json.\n"_ba;
    QTest::newRow("argument") << QStringList{u"--report"_s, u"json"_s} << "pelzora: Unexpected argument 'json'.\n"_ba;
}

// One line naming the fault, then the usage line; nothing on standard output, no window.
void tst_CommandLine::badCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.err, error + "Usage: pelzora [options]\n");
    QCOMPARE(result.out, QByteArray());
}

void tst_CommandLine::textReportWithoutDisplay()
{
    const Run result = run({u"--report"_s});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    const QString text = QString::fromUtf8(result.out);
    QVERIFY(text.startsWith(u"Pelzora 2.5\n\n[处理器]\n"_s));
    QVERIFY(text.contains(u"\n[打印机]\n已安装打印机\n"_s));
    QVERIFY(text.endsWith(u"邮箱: team@pelzora.org\n"_s));
}

void tst_CommandLine::jsonReport()
{
    const Run result = run({u"--report=json"_s});
    QCOMPARE(result.exitCode, 0);
    QJsonParseError error{};
    const QJsonObject json = QJsonDocument::fromJson(result.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    for (const QString &key :
         {u"processor"_s, u"memory"_s, u"disk"_s, u"system"_s, u"printer"_s, u"other"_s, u"about"_s})
        QVERIFY2(json.contains(key), qPrintable(key));
    QVERIFY(json.value(u"memory"_s).toObject().value(u"totalPhysicalBytes"_s).toInteger() > 0);
}

void tst_CommandLine::failedWriteExitsOne()
{
    const Run result = run({u"--report"_s}, u"/dev/full"_s);
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.err.startsWith("pelzora: cannot write to standard output: "));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
