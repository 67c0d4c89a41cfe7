// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProcessorPage.h"

struct ProcessorIdentity;

// The Processor page's report where the processor has no identification
// instruction: the architecture, the vendor and model with their raw ids, the
// clusters of cores, the instruction set extensions and the board, in the
// x86 report's style. The lines are broken by the widths Arial's metrics give
// each character rather than by a font's measure, so the command line, which
// has no fonts, prints the same lines as the page draws.
class ProcessorIdentityReport
{
public:
    // As many lines as the 345 x 321 image holds, 13 pixels apart from y = 5.
    static constexpr int MaximumLines = 24;
    // The widest a line may be, in pixels: the image less the left margin and a few pixels' room.
    static constexpr int LineWidth = 325;

    static QList<ProcessorPage::ReportLine> lines(const ProcessorIdentity &identity,
                                                  const Wording &words = Wording::shown());

    // No less than the pixels text takes in the report's font (Arial at 11 pixels).
    static int textWidth(QStringView text);
};
