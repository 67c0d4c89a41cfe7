// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class SystemFacts;

// The report for tools: one JSON document, "schemaVersion" first, then the
// header and one object per page in page order. Keys are English and never
// translated; numbers are numbers, sizes bytes; a missing fact is null and
// listed under its section's "missing" with the reason.
class JsonReportWriter
{
public:
    static QByteArray write(const SystemFacts &facts);
};
