// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Under qemu-user the program reads the host's /proc/cpuinfo and finds no MIDR
// registers in sysfs; the emulator is slow to start, hence the long wait.
Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"CUPS_SERVER"_s, u"/nonexistent/cups.sock"_s);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {true, process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QJsonObject jsonObject(const QByteArray &bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", qPrintable(error.errorString()));
    return document.object();
}

} // namespace

class tst_Arm64Program : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportNamesTheArchitecture();
    void processorPageShowsNoCpuidReport();
};

void tst_Arm64Program::reportNamesTheArchitecture()
{
    const Run result = run(QStringLiteral(PELZORA_PROGRAM), {u"--report=json"_s});
    QVERIFY2(result.finished, "the program crashed or hung");
    QVERIFY2(result.exitCode == 0, result.err.constData());
    const QJsonObject processor = jsonObject(result.out).value(u"processor"_s).toObject();
    QCOMPARE(processor.value(u"architecture"_s).toString(), u"aarch64"_s);
    QCOMPARE(processor.value(u"cpuid"_s), QJsonValue(false));
    QVERIFY2(processor.value(u"logicalProcessors"_s).toInt() >= 1,
             QJsonDocument(processor).toJson(QJsonDocument::Compact).constData());
}

// The page draws what it read about an arm64 processor, never the x86 report's lines.
void tst_Arm64Program::processorPageShowsNoCpuidReport()
{
    const QTemporaryDir out;
    const Run result = run(QString::fromUtf8(PELZORA_SNAPSHOT), {u"--out"_s, out.path()});
    QVERIFY2(result.finished, "the snapshot tool crashed or hung");
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QFile state(QDir(out.path()).filePath(u"state.json"_s));
    QVERIFY2(state.open(QIODevice::ReadOnly), qPrintable(state.errorString()));
    const QJsonArray runs = jsonObject(state.readAll())
                                .value(u"controls"_s)
                                .toObject()
                                .value(u"Img_Info"_s)
                                .toObject()
                                .value(u"runs"_s)
                                .toArray();
    QStringList texts;
    for (const auto &textRun : runs)
        texts += textRun.toObject().value(u"text"_s).toString();
    const QString drawn = texts.join(u" | "_s);
    QVERIFY2(drawn.contains(u"aarch64"_s), qPrintable(drawn));
    QVERIFY2(!drawn.contains(u"供货商ID"_s), qPrintable(drawn));
}

QTEST_GUILESS_MAIN(tst_Arm64Program)
#include "tst_arm64program.moc"
