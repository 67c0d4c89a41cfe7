// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

class CpuidSource;

// What the Processor page draws from the CPUID instruction, as typed fields for tools.
struct X86Identification
{
    QString vendor;
    int stepping = 0;
    int model = 0;
    int family = 0;
    int type = 0;
    int extendedModel = 0;
    int extendedFamily = 0;
    int brandIndex = 0;
    int clflushLineSize = 0;
    int logicalProcessorCount = 0;
    int apicId = 0;
    bool serialNumberSupported = false;
    QString serialNumber; // as the page shows it: six groups of four hex digits
    bool mmx = false;
    bool fxsr = false;
    bool sse = false;
    bool sse2 = false;
    std::optional<int> extendedLeaves; // nullopt: no extended functions
    std::optional<QString> brand; // without the NULs and blanks that pad it

    // nullopt on a processor without the instruction.
    static std::optional<X86Identification> read(const CpuidSource &cpu);
    // The family and model as the vendors combine them with their extensions.
    int displayFamily() const;
    int displayModel() const;
    QJsonObject toJson() const;
};
