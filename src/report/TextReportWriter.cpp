// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextReportWriter.h"

#include "SystemFacts.h"
#include "controls/text/JoinedText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

const QString Indent = u"  "_s;

void addFact(QStringList &lines, const QString &indent, const ReportFact &fact, const Wording &words,
             const std::optional<ReportGap> &rowGap = std::nullopt)
{
    if (!fact.forPeople())
        return;
    const QString text = TextReportWriter::factText(fact, words, rowGap);
    if (!text.isEmpty())
        lines.append(indent + JoinedText::withVisibleControls(fact.caption + u": "_s + text));
}

void addList(QStringList &lines, const ReportList &list, const Wording &words)
{
    if (list.gap) {
        lines.append(
            JoinedText::withVisibleControls(list.caption + u": "_s + TextReportWriter::missingText(*list.gap, words)));
        return;
    }
    if (list.rows.isEmpty()) {
        lines.append(JoinedText::withVisibleControls(list.caption + u": "_s + TextReportWriter::noneText(words)));
        return;
    }
    lines.append(JoinedText::withVisibleControls(list.caption + u':'));
    for (const ReportRow &row : list.rows) {
        if (row.facts.isEmpty())
            continue;
        lines.append(Indent + JoinedText::withVisibleControls(row.facts.constFirst().text));
        for (qsizetype i = 1; i < row.facts.size(); ++i)
            addFact(lines, Indent + Indent, row.facts.at(i), words, row.gap);
    }
}

} // namespace

QString TextReportWriter::factText(const ReportFact &fact, const Wording &words, const std::optional<ReportGap> &rowGap)
{
    if (fact.gap)
        return missingText(*fact.gap, words);
    if (fact.value.isNull() && fact.text.isEmpty() && rowGap)
        return missingText(*rowGap, words);
    return fact.text;
}

QString TextReportWriter::noneText(const Wording &words)
{
    return words.translate("TextReportWriter", "无");
}

QString TextReportWriter::redactedNotice(const Wording &words)
{
    return words.translate("TextReportWriter", "已隐去个人信息: 主机名、IP 与 MAC 地址、序列号、UUID、路径中的用户名");
}

QString TextReportWriter::missingText(const ReportGap &gap, const Wording &words)
{
    if (gap.reason == ReportGap::Reason::Absent)
        return words.translate("TextReportWriter", "无（%1）").arg(gap.text(words));
    return words.translate("TextReportWriter", "无法读取（%1）").arg(gap.text(words));
}

QString TextReportWriter::timeLine(const SystemFacts &facts)
{
    return facts.words.translate("TextReportWriter", "时间: ") + SystemFacts::isoTime(facts.takenAt);
}

QString TextReportWriter::hostLine(const SystemFacts &facts)
{
    return facts.words.translate("TextReportWriter", "主机: ") + facts.hostName;
}

QString TextReportWriter::write(const SystemFacts &facts)
{
    QStringList lines{facts.program + u' ' + facts.version, timeLine(facts),
                      JoinedText::withVisibleControls(hostLine(facts))};
    if (facts.redacted)
        lines.append(redactedNotice(facts.words));
    for (const ReportSection &section : facts.sections) {
        lines.append(QString());
        lines.append(u"[%1]"_s.arg(section.title));
        for (const ReportSection::Entry &entry : section.entries) {
            if (const auto *fact = std::get_if<ReportFact>(&entry))
                addFact(lines, {}, *fact, facts.words);
            else
                addList(lines, std::get<ReportList>(entry), facts.words);
        }
    }
    return lines.join(u'\n') + u'\n';
}
