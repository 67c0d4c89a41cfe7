// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReportFact.h"
#include "X86Identification.h"
#include "pages/OtherPage.h"
#include "pages/PrinterPage.h"
#include "pages/ProcessorPage.h"
#include "pages/SystemPage.h"
#include "platform/DriveSource.h"
#include "platform/MemorySource.h"
#include "platform/ProcessorSource.h"
#include "platform/ServiceSource.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

// A reading of one source: what it answered, or why there is nothing.
template<typename T>
using Answered = std::variant<T, ReportGap>;

struct ProcessorReading
{
    bool hasCpuid = false;
    QList<ProcessorPage::ReportLine> lines; // as the page draws them
    std::optional<X86Identification> x86;
    ProcessorIdentity identity; // what the system says of its processors, whatever their family
};

struct DriveReading
{
    QChar letter; // upper case
    DriveType type = DriveType::Unknown;
    QString itemText; // as the drive selector shows it: "c: [System]"
    std::optional<DriveLocation> location;
    std::optional<ReportGap> gap; // the drive did not answer: only the mount table's facts are known
    std::optional<VolumeInformation> volume;
    std::optional<QString> remoteName;
    std::optional<quint64> totalBytes;
    std::optional<quint64> freeBytes;
};

// The Hard disk page: the chosen drive as its labels show it, and every drive.
struct DiskReading
{
    QChar selected; // upper case; null for none
    // The page's texts by label; nullopt for a label not written yet.
    std::optional<QString> selectorText;
    std::optional<QString> labelSerialText;
    std::optional<QString> fileSystemText;
    std::optional<QString> typeText;
    std::optional<QString> totalText;
    std::optional<QString> freeText;
    // Why the texts that are missing are: the chosen drive did not answer; none: the window has not shown them.
    std::optional<ReportGap> selectedGap;
    QList<DriveReading> drives;
};

struct PrinterReading
{
    QStringList names;
    PrinterPage::Shown shown;
    // Why the default printer's facts are missing, where they are.
    std::optional<ReportGap> defaultGap;
};

// Everything the report read of the machine, from the window or from the platform.
struct MachineReadings
{
    // The language of the texts read as a page draws them (the processor's lines, the drive type).
    Wording words = Wording::shown();
    QDateTime takenAt;
    Answered<ProcessorReading> processor = ReportGap();
    Answered<MemoryStatus> memory = ReportGap();
    Answered<DiskReading> disk = ReportGap();
    Answered<QList<ServiceEntry>> services = ReportGap();
    Answered<QList<ProgramEntry>> programs = ReportGap();
    QStringList programNotes; // what the programs' reading could not list: "rpm: no answer within 2000 ms"
    Answered<PrinterReading> printers = ReportGap();
    Answered<QString> address = ReportGap(); // empty: the name has no address
    Answered<QString> hostName = ReportGap();
    Answered<quint64> tickCount = ReportGap();
    Answered<SystemSummary> system = ReportGap();
};
