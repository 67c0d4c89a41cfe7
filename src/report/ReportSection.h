// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReportFact.h"

#include <QList>

#include <variant>

// One entry of a list: its first fact names it (a drive, a program); a row whose
// source did not answer keeps what is known and says why the rest is missing.
struct ReportRow
{
    explicit ReportRow(QList<ReportFact> rowFacts = {}, std::optional<ReportGap> rowGap = std::nullopt)
        : facts(std::move(rowFacts))
        , gap(std::move(rowGap))
    {
    }

    QList<ReportFact> facts;
    std::optional<ReportGap> gap;
};

// A list of like things: drives, services, programs, printers.
struct ReportList
{
    ReportList(QString listKey, QString heading, std::optional<ReportGap> listGap = std::nullopt)
        : key(std::move(listKey))
        , caption(std::move(heading))
        , gap(std::move(listGap))
    {
    }

    QString key; // the JSON array's key
    QString caption; // the Chinese heading of the list
    QList<ReportRow> rows;
    std::optional<ReportGap> gap; // the whole list could not be read
};

// A page of the window: its facts and lists in the page's order.
struct ReportSection
{
    using Entry = std::variant<ReportFact, ReportList>;

    QString key; // "processor", "memory", ...
    QString title; // the page's tab caption
    QList<Entry> entries;

    ReportFact &add(ReportFact fact)
    {
        entries.append(std::move(fact));
        return std::get<ReportFact>(entries.last());
    }
    ReportList &add(ReportList list)
    {
        entries.append(std::move(list));
        return std::get<ReportList>(entries.last());
    }
};
