// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReportFact.h"

#include <QString>

#include <optional>

class SystemFacts;

// The report for people, in the facts' language: a header, then one block per
// page, each fact as "caption: value", lists indented beneath their caption. A
// missing fact says 无法读取 and why. Nothing from outside can act on the terminal.
class TextReportWriter
{
public:
    static QString write(const SystemFacts &facts);
    // The words of a missing fact: 无法读取 and why, or 无 and why for one the machine does not have.
    static QString missingText(const ReportGap &gap, const Wording &words);
    // A fact's text for people: its own, else why it is missing, or why its row is; empty for one that
    // does not apply.
    static QString factText(const ReportFact &fact, const Wording &words,
                            const std::optional<ReportGap> &rowGap = std::nullopt);
    // The words of an empty list.
    static QString noneText(const Wording &words);
    // What the header says of a redacted report.
    static QString redactedNotice(const Wording &words);
    // The header's lines after the program's name: the time and the host.
    static QString timeLine(const SystemFacts &facts);
    static QString hostLine(const SystemFacts &facts);
};
