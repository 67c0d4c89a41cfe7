// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReportSection.h"

#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QString>

#include <functional>

// Every fact the report gives, page by page, filled once from the window or the
// platform and written in any format. A fact is added here once and every format
// has it: the writers know only facts, lists and sections.
class SystemFacts
{
public:
    // The version of the JSON format: a key is never renamed or retyped within one.
    static constexpr int SchemaVersion = 1;

    explicit SystemFacts(Wording language = Wording::shown())
        : words(std::move(language))
    {
    }

    // The language of the captions and texts for people, and of the writers' own words.
    Wording words;
    QString program; // "Pelzora"
    QString version; // "2.5"
    QDateTime takenAt;
    QString hostName; // empty when the machine has none
    bool redacted = false;
    QList<ReportSection> sections;

    // The facts missing from a section, for tools: what, the reason's name and its words.
    QJsonArray missing(const ReportSection &section) const;
    // Every missing fact as "section: words", for messages.
    QStringList missingTexts() const;

    // A time as ISO 8601 with its offset from UTC: "2024-05-01T10:00:00+08:00".
    static QString isoTime(const QDateTime &time);

    // Every fact, those of lists' rows included, in place.
    void forEachFact(const std::function<void(ReportFact &fact)> &visit);
    // Every string in a value, nested ones included, in place.
    static void changeStrings(QJsonValue &value, const std::function<void(QString &text)> &change);
};
