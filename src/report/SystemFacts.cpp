// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemFacts.h"

#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

QJsonObject missingEntry(const QString &fact, const ReportGap &gap, const Wording &words)
{
    return {{u"fact"_s, fact}, {u"reason"_s, ReportGap::reasonName(gap.reason)}, {u"text"_s, gap.text(words)}};
}

// A row that did not answer, named by what is known of it: a drive's letter and mount point.
QJsonObject missingRow(const ReportList &list, const ReportRow &row, const Wording &words)
{
    QJsonObject entry = missingEntry(list.key, *row.gap, words);
    for (const ReportFact &fact : row.facts)
        if (fact.forTools() && !fact.value.isNull())
            entry.insert(fact.key, fact.value);
    return entry;
}

// A fact of one row: named by the list, the fact and the row's first fact (a drive's letter).
QJsonObject missingFact(const ReportList &list, const ReportFact &name, const ReportFact &fact, const Wording &words)
{
    QJsonObject entry = missingEntry(list.key + u'.' + fact.key, *fact.gap, words);
    entry.insert(name.key, name.value);
    return entry;
}

} // namespace

QJsonArray SystemFacts::missing(const ReportSection &section) const
{
    QJsonArray missing;
    for (const ReportSection::Entry &entry : section.entries) {
        if (const auto *fact = std::get_if<ReportFact>(&entry)) {
            if (fact->gap && fact->forTools())
                missing.append(missingEntry(fact->key, *fact->gap, words));
            continue;
        }
        const ReportList &list = std::get<ReportList>(entry);
        if (list.gap)
            missing.append(missingEntry(list.key, *list.gap, words));
        for (const ReportRow &row : list.rows) {
            if (row.gap)
                missing.append(missingRow(list, row, words));
            for (const ReportFact &fact : row.facts)
                if (fact.gap && fact.forTools() && !row.facts.isEmpty())
                    missing.append(missingFact(list, row.facts.constFirst(), fact, words));
        }
    }
    return missing;
}

QString SystemFacts::isoTime(const QDateTime &time)
{
    QString text = time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
    // Qt writes UTC itself as "Z"; the offset reads the same everywhere.
    if (text.endsWith(u'Z'))
        text = text.chopped(1) + u"+00:00"_s;
    return text;
}

QStringList SystemFacts::missingTexts() const
{
    QStringList texts;
    for (const ReportSection &section : sections)
        for (const QJsonValue entry : missing(section))
            texts.append(section.key + u": "_s + entry[u"fact"_s].toString() + u": "_s + entry[u"text"_s].toString());
    return texts;
}

void SystemFacts::forEachFact(const std::function<void(ReportFact &)> &visit)
{
    for (ReportSection &section : sections) {
        for (ReportSection::Entry &entry : section.entries) {
            if (auto *fact = std::get_if<ReportFact>(&entry)) {
                visit(*fact);
                continue;
            }
            for (ReportRow &row : std::get<ReportList>(entry).rows)
                for (ReportFact &fact : row.facts)
                    visit(fact);
        }
    }
}

void SystemFacts::changeStrings(QJsonValue &value, const std::function<void(QString &)> &change)
{
    if (value.isString()) {
        QString text = value.toString();
        change(text);
        value = text;
    } else if (value.isArray()) {
        QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            QJsonValue changed = array.at(i);
            changeStrings(changed, change);
            array.replace(i, changed);
        }
        value = array;
    } else if (value.isObject()) {
        QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            QJsonValue changed = it.value();
            changeStrings(changed, change);
            it.value() = changed;
        }
        value = object;
    }
}
