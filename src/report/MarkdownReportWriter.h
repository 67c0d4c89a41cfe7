// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SystemFacts;

// The report for bug trackers, as CommonMark with tables: a heading per page,
// its facts as a list, drives, services, programs and printers as tables, long
// ones folded in <details>. Every text from outside is escaped, so that nothing
// in it becomes markup, and no table loses a column.
class MarkdownReportWriter
{
public:
    // A list longer than this is folded.
    static constexpr qsizetype FoldAfterRows = 10;

    static QString write(const SystemFacts &facts);
    // Text that CommonMark shows as it is, inside a line: every character that
    // could start markup escaped with a backslash, control characters as their pictures.
    static QString escaped(const QString &text);
};
