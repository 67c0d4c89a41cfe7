// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MachineReadings.h"
#include "SystemFacts.h"

// Turns what was read of the machine into the report's facts: the one place
// that gives each fact its key, its caption and its words.
class ReportBuilder
{
public:
    static SystemFacts build(const MachineReadings &readings);

    // A processor report line as a caption and a value, without the page's
    // indentation, dashes and colons; the brand's two lines become one.
    struct CaptionLine
    {
        QString caption;
        QString value;
    };
    static QList<CaptionLine> captionLines(const QList<ProcessorPage::ReportLine> &lines);
    // A drive type as tools name it: "fixed", "removable", "remote", "cdrom", "ramdisk", "unknown".
    static QString driveTypeName(DriveType type);
};
