// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/KeptReports.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The program as a user starts it, on a machine without a display or a print server.
Run run(const QStringList &arguments, const QString &outputFile = {}, const QString &languages = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s, u"LANGUAGE"_s})
        environment.remove(name);
    environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    if (!languages.isEmpty())
        environment.insert(u"LANGUAGE"_s, languages);
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
    void jsonReport_data();
    void markdownReport();
    void redactedReport();
    void failedWriteExitsOne();
    void closedPipeEndsSilently();
    void noDisplayIsOneLine();
    void languageOfTheReport_data();
    void languageOfTheReport();
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
        << "pelzora: Unknown report format 'xml': the formats are text, json and markdown.\n"_ba;
    QTest::newRow("unknown report format after a space")
        << QStringList{u"--report"_s, u"xml"_s}
        << "pelzora: Unknown report format 'xml': the formats are text, json and markdown.\n"_ba;
    QTest::newRow("argument") << QStringList{u"--version"_s, u"json"_s} << "pelzora: Unexpected argument 'json'.\n"_ba;
    QTest::newRow("unknown language") << QStringList{u"--lang=de"_s, u"--report"_s}
                                      << "pelzora: Unknown language 'de': give --lang=zh or --lang=en.\n"_ba;
    QTest::newRow("redact without a report")
        << QStringList{u"--redact"_s} << "pelzora: --redact goes with --report.\n"_ba;
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
    QVERIFY(text.startsWith(u"Pelzora 2.5\n时间: "_s));
    QVERIFY(text.contains(u"\n\n[处理器]\n"_s));
    QVERIFY(text.contains(u"\n[打印机]\n已安装打印机"_s));
    QVERIFY(text.endsWith(u"邮箱: team@pelzora.org\n"_s));
}

void tst_CommandLine::jsonReport_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("joined") << QStringList{u"--report=json"_s};
    QTest::newRow("after a space") << QStringList{u"--report"_s, u"json"_s};
    QTest::newRow("single dash") << QStringList{u"-report"_s, u"json"_s};
}

void tst_CommandLine::jsonReport()
{
    QFETCH(QStringList, arguments);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 0);
    keepReport(result.out, u"commandline-"_s + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-'));
    QJsonParseError error{};
    const QJsonObject json = QJsonDocument::fromJson(result.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    for (const QString &key :
         {u"processor"_s, u"memory"_s, u"disk"_s, u"system"_s, u"printer"_s, u"other"_s, u"about"_s})
        QVERIFY2(json.contains(key), qPrintable(key));
    QVERIFY(json.value(u"memory"_s).toObject().value(u"totalPhysicalBytes"_s).toInteger() > 0);
    QCOMPARE(json.value(u"schemaVersion"_s).toInt(), 1);
}

void tst_CommandLine::markdownReport()
{
    const Run result = run({u"--report=markdown"_s});
    QCOMPARE(result.exitCode, 0);
    const QString markdown = QString::fromUtf8(result.out);
    QVERIFY(markdown.startsWith(u"# Pelzora 2.5\n"_s));
    QVERIFY(markdown.contains(u"\n## 其他\n"_s));
    QVERIFY(markdown.contains(u"\n### 已安装的软件\n"_s));
}

// Nothing of this machine's name, addresses or serial numbers is left, and the report says so.
void tst_CommandLine::redactedReport()
{
    const Run plain = run({u"--report=json"_s});
    const QJsonObject facts = QJsonDocument::fromJson(plain.out).object();
    const Run result = run({u"--report"_s, u"json"_s, u"--redact"_s});
    QCOMPARE(result.exitCode, 0);
    keepReport(result.out, u"commandline-redacted"_s);
    const QJsonObject json = QJsonDocument::fromJson(result.out).object();
    QVERIFY(json.value(u"redacted"_s).toBool());
    QStringList secrets{facts[u"other"_s][u"hostName"_s].toString(), facts[u"other"_s][u"address"_s].toString()};
    for (const QJsonValue drive : facts[u"disk"_s][u"drives"_s].toArray())
        secrets.append(drive[u"serial"_s].toString());
    secrets.removeAll(QString());
    QVERIFY(!secrets.isEmpty());
    // As whole words: a host called "vm" may stay inside "libllvm14".
    const QString redacted = QString::fromUtf8(result.out);
    for (const QString &secret : std::as_const(secrets)) {
        const QRegularExpression word(u"(?<!\\w)%1(?!\\w)"_s.arg(QRegularExpression::escape(secret)));
        QVERIFY2(!redacted.contains(word), qPrintable(secret));
    }
    const Run text = run({u"--report"_s, u"--redact"_s});
    QVERIFY(text.out.contains("\n已隐去个人信息: "));
}

void tst_CommandLine::failedWriteExitsOne()
{
    const Run result = run({u"--report"_s}, u"/dev/full"_s);
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.err.startsWith("pelzora: cannot write to standard output: "));
}

// As the system's own tools end when their reader has gone: by SIGPIPE, without a word.
void tst_CommandLine::closedPipeEndsSilently()
{
    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PELZORA"_s, QStringLiteral(PELZORA_PROGRAM));
    environment.remove(u"DISPLAY"_s);
    shell.setProcessEnvironment(environment);
    // The reader is gone before the report is written.
    shell.start(u"/bin/bash"_s,
                {u"-c"_s,
                 u"{ sleep 0.2; exec \"$PELZORA\" --report; } | true; "
                 u"echo ${PIPESTATUS[0]}"_s});
    QVERIFY(shell.waitForFinished(10000));
    QCOMPARE(shell.readAllStandardOutput(), QByteArray::number(128 + SIGPIPE) + '\n');
    QCOMPARE(shell.readAllStandardError(), QByteArray());
}

void tst_CommandLine::noDisplayIsOneLine()
{
    const Run result = run({});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, "pelzora: no display to open the window on; pelzora --report prints the facts without one\n");
    QCOMPARE(result.out, QByteArray());
}

void tst_CommandLine::languageOfTheReport_data()
{
    QTest::addColumn<QString>("languages");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("start");
    const QString chinese = u"Pelzora 2.5\n时间: "_s;
    const QString english = u"Pelzora 2.5\nTime: "_s;
    QTest::newRow("the environment's Chinese") << QString() << QStringList{u"--report"_s} << chinese;
    QTest::newRow("the environment's English") << u"en_GB:zh_CN"_s << QStringList{u"--report"_s} << english;
    QTest::newRow("--lang over the environment")
        << u"en_GB"_s << QStringList{u"--report"_s, u"--lang"_s, u"zh"_s} << chinese;
    QTest::newRow("--lang=en") << QString() << QStringList{u"--lang=en"_s, u"--report"_s} << english;
    QTest::newRow("help stays English") << u"en"_s << QStringList{u"--help"_s} << u"Usage: pelzora"_s;
}

void tst_CommandLine::languageOfTheReport()
{
    QFETCH(QString, languages);
    QFETCH(QStringList, arguments);
    QFETCH(QString, start);
    const Run result = run(arguments, {}, languages);
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(QString::fromUtf8(result.out).startsWith(start), result.out.left(40).constData());
    if (arguments.contains(u"--help"_s))
        QCOMPARE(result.out, run({u"--help"_s}).out);
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
