// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

class SystemFacts;

// Makes a report fit for sharing: the host name, IP and MAC addresses wherever
// they stand, serial numbers, UUIDs and the user names in paths become
// placeholders, the same value the same placeholder throughout one report
// ("<host-1>", "<ip-2>"), and the report says it was redacted. Nothing else changes.
class ReportRedactor
{
public:
    static void redact(SystemFacts &facts);

private:
    void collect(SystemFacts &facts);
    QString redacted(const QString &text);
    QString replaceLiterals(const QString &text) const;
    QString replacePatterns(const QString &text);
    QString placeholder(const QString &kind, const QString &value);

    QHash<QString, QString> m_literals; // a known value and its placeholder
    QHash<QString, QString> m_placeholders; // kind + value -> placeholder
    QHash<QString, int> m_counts; // placeholders given per kind
};
