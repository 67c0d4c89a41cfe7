// SPDX-License-Identifier: GPL-3.0-or-later
#include "MarkdownReportWriter.h"

#include "SystemFacts.h"
#include "TextReportWriter.h"
#include "controls/text/JoinedText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// A table cell: escaped, so that a pipe in it cannot split it.
QString cell(const QString &text)
{
    return MarkdownReportWriter::escaped(text);
}

QString row(const QStringList &cells)
{
    return u"| "_s + cells.join(u" | "_s) + u" |"_s;
}

void addTable(QStringList &lines, const ReportList &list, const Wording &words)
{
    const QList<ReportFact> &first = list.rows.constFirst().facts;
    QStringList header;
    QStringList rule;
    for (const ReportFact &fact : first) {
        if (!fact.forPeople())
            continue;
        header.append(cell(fact.caption));
        rule.append(u"---"_s);
    }
    lines.append(row(header));
    lines.append(row(rule));
    for (const ReportRow &entry : list.rows) {
        QStringList cells;
        for (const ReportFact &fact : entry.facts)
            if (fact.forPeople())
                cells.append(cell(TextReportWriter::factText(fact, words, entry.gap)));
        lines.append(row(cells));
    }
}

void addList(QStringList &lines, const ReportList &list, const Wording &words)
{
    lines.append(u"### "_s + MarkdownReportWriter::escaped(list.caption));
    lines.append(QString());
    if (list.gap || list.rows.isEmpty()) {
        lines.append(MarkdownReportWriter::escaped(list.gap ? TextReportWriter::missingText(*list.gap, words)
                                                            : TextReportWriter::noneText(words)));
        lines.append(QString());
        return;
    }
    const bool folded = list.rows.size() > MarkdownReportWriter::FoldAfterRows;
    if (folded) {
        // An HTML block: its summary is the program's own text, the table after the blank line is Markdown again.
        lines.append(u"<details>"_s);
        lines.append(u"<summary>%1</summary>"_s.arg(words.translate("MarkdownReportWriter", "%1（%2）")
                                                        .arg(list.caption.toHtmlEscaped())
                                                        .arg(list.rows.size())));
        lines.append(QString());
    }
    addTable(lines, list, words);
    lines.append(QString());
    if (folded) {
        lines.append(u"</details>"_s);
        lines.append(QString());
    }
}

void addFact(QStringList &lines, const ReportFact &fact, const Wording &words)
{
    if (!fact.forPeople())
        return;
    const QString text = TextReportWriter::factText(fact, words);
    if (!text.isEmpty())
        lines.append(u"- "_s + MarkdownReportWriter::escaped(fact.caption + u": "_s)
                     + MarkdownReportWriter::escaped(text));
}

} // namespace

QString MarkdownReportWriter::escaped(const QString &text)
{
    // What can start markup inside a line; the report never puts outside text where a
    // block starts, so "-", "+", "." and digits need no escape and addresses stay readable.
    static const QString Markup = u"\\`*_{}[]<>()!|~&#$"_s;
    const QString plain = JoinedText::withVisibleControls(text);
    QString markdown;
    markdown.reserve(plain.size());
    for (const QChar c : plain) {
        if (Markup.contains(c))
            markdown.append(u'\\');
        markdown.append(c);
    }
    return markdown;
}

QString MarkdownReportWriter::write(const SystemFacts &facts)
{
    QStringList lines{u"# "_s + escaped(facts.program + u' ' + facts.version), QString(),
                      u"- "_s + escaped(TextReportWriter::timeLine(facts)),
                      u"- "_s + escaped(TextReportWriter::hostLine(facts))};
    if (facts.redacted)
        lines.append(u"- "_s + escaped(TextReportWriter::redactedNotice(facts.words)));
    for (const ReportSection &section : facts.sections) {
        lines.append(QString());
        lines.append(u"## "_s + escaped(section.title));
        lines.append(QString());
        bool inFacts = false;
        for (const ReportSection::Entry &entry : section.entries) {
            if (const auto *fact = std::get_if<ReportFact>(&entry)) {
                addFact(lines, *fact, facts.words);
                inFacts = true;
                continue;
            }
            if (inFacts)
                lines.append(QString());
            inFacts = false;
            addList(lines, std::get<ReportList>(entry), facts.words);
        }
    }
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines.join(u'\n') + u'\n';
}
