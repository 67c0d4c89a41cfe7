// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/MarkdownReportWriter.h"
#include "report/PlatformFactReader.h"
#include "report/ReportBuilder.h"
#include "support/Session.h"

#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Hostile = u"a|b `c` *d* _e_ <b>f</b> [g](h) &amp; \\| # 1. \n- ~~i~~ $j$ \u202Ek"_s;

// A machine whose names try every piece of Markdown and HTML, with more programs than fit unfolded.
QByteArray machine()
{
    QJsonArray keys;
    for (int i = 0; i < 12; ++i) {
        const QString name = i == 0 ? Hostile : u"program%1"_s.arg(i, 2, 10, QChar(u'0'));
        keys.append(QJsonObject{
            {u"name"_s, u"k%1"_s.arg(i)},
            {u"values"_s,
             QJsonObject{{u"DisplayName"_s, QJsonObject{{u"type"_s, u"REG_SZ"_s}, {u"data"_s, name}}},
                         {u"UninstallString"_s, QJsonObject{{u"type"_s, u"REG_SZ"_s}, {u"data"_s, u"rm | x"_s}}}}}});
    }
    const QJsonObject fixture{
        {u"drives"_s, QJsonArray{QJsonObject{{u"letter"_s, u"C"_s}, {u"label"_s, Hostile}, {u"mountPoint"_s, u"/"_s}}}},
        {u"services"_s, QJsonObject{{u"displayNames"_s, QJsonArray{Hostile}}}},
        {u"uninstall"_s, QJsonObject{{u"keys"_s, keys}}},
        {u"printers"_s, QJsonObject{{u"list"_s, QJsonArray{QJsonObject{{u"name"_s, Hostile}}}}}},
        {u"host"_s, QJsonObject{{u"name"_s, u"pc|1"_s}}},
    };
    return QJsonDocument(fixture).toJson();
}

// The report as a tracker renders it: CommonMark with tables, raw HTML allowed.
QString rendered(const QString &markdown)
{
    const QString cmark = QStandardPaths::findExecutable(u"cmark-gfm"_s);
    if (cmark.isEmpty())
        qFatal("cmark-gfm is not installed (Debian package cmark-gfm)");
    QProcess process;
    process.start(cmark, {u"--extension"_s, u"table"_s, u"--unsafe"_s});
    process.write(markdown.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        qFatal("cmark-gfm failed");
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class tst_MarkdownReportWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void tablesKeepTheirColumns();
    void nothingFromOutsideBecomesMarkup();
    void headingsAndFolds();

private:
    QString m_markdown;
    QString m_html;
};

void tst_MarkdownReportWriter::initTestCase()
{
    FakePlatform platform(FixtureLoader::load(machine(), u"test fixture"_s));
    m_markdown = MarkdownReportWriter::write(ReportBuilder::build(PlatformFactReader::read(platform)));
    m_html = rendered(m_markdown);
}

void tst_MarkdownReportWriter::tablesKeepTheirColumns()
{
    const QRegularExpression table(u"<table>(.*?)</table>"_s, QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression row(u"<tr>(.*?)</tr>"_s, QRegularExpression::DotMatchesEverythingOption);
    int tables = 0;
    for (const QRegularExpressionMatch &match : table.globalMatch(m_html)) {
        ++tables;
        QList<qsizetype> cells;
        for (const QRegularExpressionMatch &line : row.globalMatch(match.captured(1)))
            cells.append(line.captured(1).count(u"<th"_s) + line.captured(1).count(u"<td"_s));
        QVERIFY(cells.size() >= 2);
        QVERIFY2(cells.count(cells.constFirst()) == cells.size(), qPrintable(match.captured(0)));
    }
    QCOMPARE(tables, 4); // drives, services, programs, printers
}

void tst_MarkdownReportWriter::nothingFromOutsideBecomesMarkup()
{
    for (const QString &tag : {u"<b>"_s, u"<em>"_s, u"<code>"_s, u"<a "_s, u"<del>"_s, u"<ol>"_s, u"<h1>1"_s})
        QVERIFY2(!m_html.contains(tag), qPrintable(tag));
    // The whole name, as written, the line break as its picture.
    const QString shown = u"a|b `c` *d* _e_ &lt;b&gt;f&lt;/b&gt; [g](h) &amp;amp; \\| # 1. \u240A- ~~i~~ $j$ \u202Ek"_s;
    // In the label's cell, the drive's name and the page's texts, the service, the program, the printer.
    QCOMPARE(m_html.count(shown), 8);
    QVERIFY(m_html.contains(u"<li>计算机名: pc|1</li>"_s));
}

void tst_MarkdownReportWriter::headingsAndFolds()
{
    for (const QString &page : {u"处理器"_s, u"内存"_s, u"硬盘"_s, u"系统"_s, u"打印机"_s, u"其他"_s, u"关于"_s})
        QVERIFY2(m_html.contains(u"<h2>%1</h2>"_s.arg(page)), qPrintable(page));
    QVERIFY(m_markdown.contains(u"<details>\n<summary>已安装的软件（12）</summary>\n\n| 名称 |"_s));
    QCOMPARE(m_markdown.count(u"<details>"_s), 1);
    QVERIFY(m_html.contains(u"<summary>已安装的软件（12）</summary>\n<table>"_s));
}

QTEST_MAIN(tst_MarkdownReportWriter)
#include "tst_markdownreportwriter.moc"
