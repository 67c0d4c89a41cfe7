// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlatformFactReader.h"

#include "BoundedQuery.h"
#include "controls/drives/TDriveComboBox.h"
#include "controls/text/JoinedText.h"
#include "pages/DiskPage.h"
#include "pages/TPrinter.h"
#include "platform/ClockSource.h"
#include "platform/CpuidSource.h"
#include "platform/MemorySource.h"
#include "platform/Platform.h"
#include "platform/PrinterSource.h"

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

// What the mount table tells of a drive, without asking the drive itself.
struct ListedDrive
{
    QChar letter;
    DriveType type = DriveType::Unknown;
    std::optional<DriveLocation> location;
};

struct DriveList
{
    QChar current; // the start-up drive, upper case; null for none
    QList<ListedDrive> drives;
};

// A drive as it answered, with the Hard disk page's texts for it.
struct AnsweredDrive
{
    DriveReading reading;
    QString labelSerialText;
    QString fileSystemText;
};

QString rootOf(QChar letter)
{
    return QString(letter) + u":\\"_s;
}

DriveList listDrives(DriveSource &source)
{
    DriveList list;
    const QString current = source.currentDirectory();
    if (current.size() >= 2 && current.at(1) == u':')
        list.current = current.at(0).toUpper();
    const quint32 mask = source.logicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((mask & (1u << i)) == 0)
            continue;
        const QChar letter(char16_t(u'A' + i));
        list.drives.append({letter, source.driveType(rootOf(letter)), source.location(rootOf(letter))});
    }
    return list;
}

AnsweredDrive askDrive(DriveSource &source, const ListedDrive &listed)
{
    const QString root = rootOf(listed.letter);
    const QChar lower = listed.letter.toLower();
    const std::optional<TDriveComboBox::Item> item = TDriveComboBox::driveItem(source, lower);
    const std::optional<JoinedText> labelSerial = DiskPage::VolumeLabelSerialText(source, lower);
    return {{listed.letter, listed.type, item ? item->text.plain() : QString(lower) + u':', listed.location,
             std::nullopt, source.volumeInformation(root), source.remoteName(QString(listed.letter) + u':'),
             source.totalBytes(root), source.freeBytesForCaller(root)},
            labelSerial ? labelSerial->plain() : QString(),
            DiskPage::FileSystemNameText(source, lower).value_or(QString())};
}

// A drive that has not answered: only the mount table's facts.
AnsweredDrive unanswered(const ListedDrive &listed, const ReportGap &gap)
{
    DriveReading reading;
    reading.letter = listed.letter;
    reading.type = listed.type;
    reading.itemText = QString(listed.letter.toLower()) + u':';
    reading.location = listed.location;
    reading.gap = gap;
    return {reading, {}, {}};
}

// Each drive on a thread and a source of its own, so that one that hangs costs only itself;
// each is waited for up to the time limit from when it is asked.
QList<AnsweredDrive> askDrives(Platform &platform, const DriveList &list, std::chrono::milliseconds timeLimit)
{
    const Clock::time_point deadline = Clock::now() + timeLimit;
    std::vector<std::pair<ListedDrive, std::unique_ptr<BoundedQuery<AnsweredDrive>>>> queries;
    for (const ListedDrive &listed : list.drives) {
        std::shared_ptr<DriveSource> source = platform.separateDrives();
        if (!source)
            source = std::shared_ptr<DriveSource>(&platform.drives(), [](DriveSource *) {});
        queries.emplace_back(listed, std::make_unique<BoundedQuery<AnsweredDrive>>([source, listed] {
                                 return askDrive(*source, listed);
                             }));
        // One shared source serves one thread at a time.
        if (source.get() == &platform.drives())
            queries.back().second->answer(deadline, timeLimit);
    }
    QList<AnsweredDrive> drives;
    for (const auto &[listed, query] : queries) {
        auto answer = query->answer(deadline, timeLimit);
        if (auto *drive = std::get_if<AnsweredDrive>(&answer))
            drives.append(std::move(*drive));
        else
            drives.append(unanswered(listed, std::get<ReportGap>(answer)));
    }
    return drives;
}

DiskReading diskReading(const DriveList &list, const QList<AnsweredDrive> &drives, const Wording &words)
{
    DiskReading disk;
    disk.selected = list.current;
    for (const AnsweredDrive &drive : drives) {
        disk.drives.append(drive.reading);
        if (drive.reading.letter != list.current)
            continue;
        if (drive.reading.gap) {
            disk.selectedGap = drive.reading.gap;
            continue;
        }
        const QString typeText = DiskPage::driveTypeText(drive.reading.type, words);
        disk.selectorText = drive.reading.itemText;
        disk.labelSerialText = drive.labelSerialText;
        disk.fileSystemText = drive.fileSystemText;
        disk.typeText = typeText.isEmpty() ? DiskPage::unknownDriveTypeText(words) : typeText;
        disk.totalText = DiskPage::sizeText(drive.reading.totalBytes);
        disk.freeText = DiskPage::sizeText(drive.reading.freeBytes);
    }
    return disk;
}

// What one tick of the printer page learns, each step on its own so that one
// failing leaves the others.
PrinterReading readPrinters(PrinterSource &printers)
{
    PrinterReading reading;
    printers.beginRound();
    TPrinter printer(printers);
    for (const TPrinter::PrinterEntry &entry : printer.PrinterList())
        reading.names.append(entry.first);
    try {
        printer.setCurrentPrinterIndex(TPrinter::DefaultPrinter);
        reading.shown.defaultPrinterName = printer.currentPrinter().device();
        const InformationContext &context = printer.PrinterInfoContext();
        reading.shown.resolution = QSize(context.deviceCaps(InformationContext::LogPixelsX),
                                         context.deviceCaps(InformationContext::LogPixelsY));
        reading.shown.deviceMode = PrinterPage::deviceModeByName(printers, *reading.shown.defaultPrinterName);
    } catch (const Failure &failure) {
        reading.defaultGap = ReportGap::fromFailure(failure.message());
    }
    return reading;
}

} // namespace

MachineReadings PlatformFactReader::read(Platform &platform, std::chrono::milliseconds timeLimit, const Wording &words)
{
    const Clock::time_point deadline = Clock::now() + timeLimit;
    BoundedQuery<ProcessorReading> processor([&platform, words] {
        const CpuidSource &cpu = platform.cpuid();
        const ProcessorSource &identity = platform.processor();
        return ProcessorReading{cpu.hasCpuid(), ProcessorPage::reportLines(cpu, identity, words),
                                X86Identification::read(cpu), identity.identity()};
    });
    BoundedQuery<MemoryStatus> memory([&platform] { return platform.memory().globalMemoryStatus(); });
    BoundedQuery<DriveList> drives([&platform] { return listDrives(platform.drives()); });
    BoundedQuery<std::optional<QList<ServiceEntry>>> services(
        [&platform] { return SystemPage::readServices(platform.services()); });
    BoundedQuery<std::pair<QList<ProgramEntry>, QStringList>> programs([&platform] {
        QStringList notes;
        QList<ProgramEntry> read = SystemPage::readPrograms(platform.registry(), &notes);
        return std::pair(std::move(read), std::move(notes));
    });
    BoundedQuery<PrinterReading> printers([&platform] { return readPrinters(platform.printers()); });
    BoundedQuery<SystemSummary> system([&platform] { return OtherPage::readSystemSummary(platform.system()); });
    // The name is the system's own, at hand; the address may wait for a name server.
    const QString hostName = OtherPage::localHostInfo(platform.network(), OtherPage::NameSelector);
    BoundedQuery<QString> address(
        [&platform] { return OtherPage::localHostInfo(platform.network(), OtherPage::AddressSelector); });

    MachineReadings readings;
    readings.words = words;
    readings.takenAt = QDateTime::currentDateTime();
    readings.hostName = hostName;
    readings.tickCount = platform.clock().tickCount();
    readings.processor = processor.answer(deadline, timeLimit);
    readings.memory = memory.answer(deadline, timeLimit);
    auto list = drives.answer(deadline, timeLimit);
    if (const auto *listed = std::get_if<DriveList>(&list))
        readings.disk = diskReading(*listed, askDrives(platform, *listed, timeLimit), words);
    else
        readings.disk = std::get<ReportGap>(list);
    auto serviceList = services.answer(deadline, timeLimit);
    if (auto *answer = std::get_if<std::optional<QList<ServiceEntry>>>(&serviceList))
        readings.services = answer->has_value()
            ? Answered<QList<ServiceEntry>>(**answer)
            : ReportGap{ReportGap::Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "无法打开服务管理器")};
    else
        readings.services = std::get<ReportGap>(serviceList);
    const auto programsRead = programs.answer(deadline, timeLimit);
    if (const auto *read = std::get_if<0>(&programsRead)) {
        readings.programs = read->first;
        readings.programNotes = read->second;
    } else {
        readings.programs = std::get<ReportGap>(programsRead);
    }
    readings.printers = printers.answer(deadline, timeLimit);
    readings.address = address.answer(deadline, timeLimit);
    readings.system = system.answer(deadline, timeLimit);
    return readings;
}
