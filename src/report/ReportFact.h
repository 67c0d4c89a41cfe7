// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Wording.h"

#include <QJsonValue>
#include <QString>
#include <QtGlobal>

#include <chrono>
#include <optional>

// Why a fact is not in the report: the kind for tools, the words for people.
struct ReportGap
{
    enum class Reason {
        NoAnswer, // the source did not answer within its time limit
        Failed, // the source answered with a failure
        Absent, // the machine has no such thing (no CPUID, no default printer, no address)
        NotShownYet, // the window has not read it yet
    };

    // The words' context for lupdate: every source below is marked QT_TRANSLATE_NOOP("ReportGap", "…").
    static constexpr const char *Context = "ReportGap";

    ReportGap() = default;
    ReportGap(Reason why, const char *words, QString wordsArgument = {})
        : reason(why)
        , source(words)
        , argument(std::move(wordsArgument))
    {
    }

    Reason reason = Reason::Failed;
    const char *source = QT_TRANSLATE_NOOP("ReportGap", "读取失败"); // the Chinese words, "%1 秒内没有回答"
    QString argument; // what %1 stands for, where the words have it

    // The words in a language: "2 秒内没有回答", "no answer within 2 s".
    QString text(const Wording &words = Wording::shown()) const;
    // The English name tools read: "noAnswer", "failed", "absent", "notShownYet".
    static QString reasonName(Reason reason);
    // A source's failure: the failures the report knows by their message, else a plain "读取失败".
    static ReportGap fromFailure(const QString &message);
    static ReportGap noAnswer(std::chrono::milliseconds timeLimit);
};

// What a fact tells about the person or the machine, which redaction hides.
enum class Personal {
    None, // searched for addresses, UUIDs and user names in paths
    Verbatim, // never changed: versions and the program's own texts look like addresses but are none
    HostName,
    Serial, // a drive's or the processor's serial number
};

// One fact of the report, for tools and for people at once.
struct ReportFact
{
    ReportFact(QString toolKey, QString peopleCaption, QJsonValue toolValue = QJsonValue::Null, QString peopleText = {},
               Personal kind = Personal::None)
        : key(std::move(toolKey))
        , caption(std::move(peopleCaption))
        , value(std::move(toolValue))
        , text(std::move(peopleText))
        , personal(kind)
    {
    }

    QString key; // the JSON key, English, never translated; empty: for people only
    QString caption; // the caption in the report's language, without its colon; empty: for tools only
    QJsonValue value = QJsonValue::Null; // for tools; null when the fact is missing or does not apply
    QString text; // for people, as the window shows it in the report's language
    QString textKey; // where given, tools get the text too, under this key: an enumeration's words
    std::optional<ReportGap> gap; // why the fact is missing; none for a fact that does not apply
    Personal personal = Personal::None;

    bool forPeople() const { return !caption.isEmpty(); }
    bool forTools() const { return !key.isEmpty(); }
};
