// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportBuilder.h"

#include "app/FormCaptions.h"
#include "app/UnitFormMain.h"
#include "pages/AboutPage.h"
#include "pages/DiskPage.h"
#include "pages/MegabyteText.h"
#include "pages/MemoryPage.h"
#include "pages/SystemPage.h"

#include <QJsonArray>
#include <QJsonObject>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr quint64 MillisecondsPerSecond = 1000;

// A caption of the form without the colon the writers put back: "计算机名" and "总的物理内存".
QString captionOf(const QString &control, const Wording &words)
{
    QString caption = FormCaptions::of(control, words).trimmed();
    while (caption.endsWith(u':'))
        caption.chop(1);
    return caption;
}

QJsonValue optionalText(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue byteCount(quint64 bytes)
{
    // Beyond 2^63 only a double can carry it; no machine has that much yet.
    if (bytes > quint64(std::numeric_limits<qint64>::max()))
        return double(bytes);
    return qint64(bytes);
}

ReportFact fact(const QString &key, const QString &caption, const QJsonValue &value, const QString &text,
                Personal personal = Personal::None)
{
    return ReportFact(key, caption, value, text, personal);
}

ReportFact stringFact(const QString &key, const QString &caption, const QString &text,
                      Personal personal = Personal::None)
{
    return fact(key, caption, text, text, personal);
}

ReportFact missingFact(const QString &key, const QString &caption, const ReportGap &gap)
{
    ReportFact missing(key, caption);
    missing.gap = gap;
    return missing;
}

// A fact shown by a label: missing while the label has not been written, or its source has not answered.
ReportFact shownFact(const QString &key, const QString &caption, const std::optional<QString> &text,
                     const QJsonValue &value, const std::optional<ReportGap> &gap = std::nullopt)
{
    if (!text)
        return missingFact(
            key, caption,
            gap.value_or(ReportGap{ReportGap::Reason::NotShownYet, QT_TRANSLATE_NOOP("ReportGap", "窗口尚未显示")}));
    return fact(key, caption, value, *text);
}

QString sizeText(quint64 bytes, const Wording &words)
{
    return words.translate("ReportBuilder", "%1（%2 字节）").arg(megabyteText(bytes)).arg(bytes);
}

// Unknown sizes of a drive that answered are a failure; of one that did not, its row says why.
ReportFact sizeFact(const QString &key, const QString &caption, const std::optional<quint64> &bytes, bool rowAnswered,
                    const Wording &words)
{
    if (bytes)
        return fact(key, caption, byteCount(*bytes), sizeText(*bytes, words));
    return rowAnswered
        ? missingFact(key, caption, {ReportGap::Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "读取失败")})
        : ReportFact(key, caption);
}

// Without the identification instruction, the processors as the system names them, for tools;
// people read the same facts in the page's lines.
void addIdentity(ReportSection &section, const ProcessorIdentity &identity)
{
    QJsonArray clusters;
    for (const ProcessorCluster &cluster : identity.clusters)
        clusters.append(QJsonObject{{u"vendor"_s, cluster.vendor},
                                    {u"model"_s, cluster.model},
                                    {u"cores"_s, cluster.cores},
                                    {u"implementer"_s, qint64(cluster.implementer)},
                                    {u"part"_s, qint64(cluster.part)},
                                    {u"variant"_s, qint64(cluster.variant)},
                                    {u"revision"_s, qint64(cluster.revision)}});
    QJsonObject details;
    for (const ProcessorDetail &detail : identity.details)
        details.insert(detail.key, detail.value);
    section.add(fact(u"vendor"_s, {}, optionalText(identity.vendor), QString()));
    section.add(fact(u"model"_s, {}, optionalText(identity.model), QString()));
    section.add(fact(u"clusters"_s, {}, clusters, QString()));
    section.add(fact(u"features"_s, {}, QJsonArray::fromStringList(identity.features), QString()));
    section.add(fact(u"board"_s, {}, optionalText(identity.board), QString()));
    section.add(fact(u"details"_s, {}, details, QString()));
}

// The architecture and the count of logical processors as the processors' identity gives
// them, else as the system summary does.
void addArchitecture(ReportSection &section, const ProcessorReading *reading, const SystemSummary *summary)
{
    QString machine = reading ? reading->identity.architecture : QString();
    if (machine.isEmpty() && summary && summary->kernel)
        machine = summary->kernel->machine;
    section.add(fact(u"architecture"_s, {}, optionalText(machine), machine));
    QJsonValue threads;
    if (reading && reading->identity.logicalProcessors > 0)
        threads = reading->identity.logicalProcessors;
    else if (summary && summary->processors.threads)
        threads = *summary->processors.threads;
    section.add(fact(u"logicalProcessors"_s, {}, threads, QString()));
}

void addProcessor(ReportSection &section, const Answered<ProcessorReading> &answer,
                  const Answered<SystemSummary> &system)
{
    const auto *reading = std::get_if<ProcessorReading>(&answer);
    addArchitecture(section, reading, std::get_if<SystemSummary>(&system));
    if (!reading) {
        const ReportGap &gap = std::get<ReportGap>(answer);
        for (const QString &key : {u"cpuid"_s, u"x86"_s, u"lines"_s})
            section.add(missingFact(key, {}, gap));
        return;
    }
    section.add(fact(u"cpuid"_s, {}, reading->hasCpuid, QString()));
    if (reading->x86)
        section.add(fact(u"x86"_s, {}, reading->x86->toJson(), QString()));
    else
        section.add(missingFact(u"x86"_s, {},
                                {ReportGap::Reason::Absent, QT_TRANSLATE_NOOP("ReportGap", "处理器没有 CPUID 指令")}));
    if (ProcessorPage::reportsIdentity(reading->hasCpuid, reading->identity))
        addIdentity(section, reading->identity);
    QJsonArray lines;
    for (const ReportBuilder::CaptionLine &line : ReportBuilder::captionLines(reading->lines)) {
        const bool serial = reading->x86 && line.value == reading->x86->serialNumber;
        section.add(fact({}, line.caption, {}, line.value, serial ? Personal::Serial : Personal::None));
        lines.append(QJsonObject{{u"caption"_s, line.caption}, {u"value"_s, line.value}});
    }
    if (reading->lines.isEmpty())
        section.add(missingFact(u"lines"_s, {},
                                {ReportGap::Reason::NotShownYet, QT_TRANSLATE_NOOP("ReportGap", "报告尚未绘制")}));
    else
        section.add(fact(u"lines"_s, {}, lines, QString()));
}

void addMemory(ReportSection &section, const Answered<MemoryStatus> &answer, const Wording &words)
{
    const auto *status = std::get_if<MemoryStatus>(&answer);
    const auto figure = [&](const QString &key, const QString &control, quint64 MemoryStatus::*field) {
        if (status)
            section.add(
                fact(key, captionOf(control, words), byteCount((*status).*field), megabyteText((*status).*field)));
        else
            section.add(missingFact(key, captionOf(control, words), std::get<ReportGap>(answer)));
    };
    figure(u"totalPhysicalBytes"_s, u"Label1"_s, &MemoryStatus::totalPhys);
    figure(u"availablePhysicalBytes"_s, u"Label3"_s, &MemoryStatus::availPhys);
    figure(u"totalPageFileBytes"_s, u"Label5"_s, &MemoryStatus::totalPageFile);
    figure(u"availablePageFileBytes"_s, u"Label7"_s, &MemoryStatus::availPageFile);
    if (status)
        section.add(fact(u"loadPercent"_s, captionOf(u"Label9"_s, words), qint64(status->memoryLoad),
                         MemoryPage::loadText(status->memoryLoad)));
    else
        section.add(missingFact(u"loadPercent"_s, captionOf(u"Label9"_s, words), std::get<ReportGap>(answer)));
}

ReportFact typeFact(const QString &caption, DriveType type, const QString &text)
{
    ReportFact typeFact = fact(u"type"_s, caption, ReportBuilder::driveTypeName(type), text);
    typeFact.textKey = u"typeText"_s;
    return typeFact;
}

ReportRow driveRow(const DriveReading &drive, const Wording &words)
{
    ReportRow row;
    row.gap = drive.gap;
    const QString typeText = DiskPage::driveTypeText(drive.type, words);
    row.facts.append(
        fact(u"letter"_s, words.translate("ReportBuilder", "驱动器"), QString(drive.letter), drive.itemText));
    row.facts.append(typeFact(words.translate("ReportBuilder", "类型"), drive.type,
                              typeText.isEmpty() ? DiskPage::unknownDriveTypeText(words) : typeText));
    const auto optional = [](const std::optional<QString> &text) {
        return text ? QJsonValue(*text) : QJsonValue();
    };
    const std::optional<QString> mountPoint = drive.location ? std::optional(drive.location->mountPoint) : std::nullopt;
    const std::optional<QString> device = drive.location ? std::optional(drive.location->device) : std::nullopt;
    row.facts.append(fact(u"mountPoint"_s, words.translate("ReportBuilder", "挂载点"), optional(mountPoint),
                          mountPoint.value_or(QString())));
    row.facts.append(
        fact(u"device"_s, words.translate("ReportBuilder", "设备"), optional(device), device.value_or(QString())));
    const std::optional<QString> remote = drive.remoteName ? std::optional(textUntilZero(*drive.remoteName))
                                                           : std::nullopt;
    row.facts.append(fact(u"remoteName"_s, words.translate("ReportBuilder", "远程名称"), optional(remote),
                          remote.value_or(QString())));
    const QString labelCaption = words.translate("ReportBuilder", "卷标");
    const QString serialCaption = words.translate("ReportBuilder", "序列号");
    const QString fileSystemCaption = words.translate("ReportBuilder", "文件系统");
    if (drive.volume) {
        const QString label = textUntilZero(drive.volume->volumeName);
        const QString serial = u"%1"_s.arg(drive.volume->serialNumber, 8, 16, QChar(u'0')).toUpper();
        row.facts.append(stringFact(u"label"_s, labelCaption, label));
        row.facts.append(stringFact(u"serial"_s, serialCaption, serial, Personal::Serial));
        row.facts.append(stringFact(u"fileSystem"_s, fileSystemCaption, textUntilZero(drive.volume->fileSystemName)));
    } else {
        for (const auto &[key, caption] : {std::pair(u"label"_s, labelCaption), std::pair(u"serial"_s, serialCaption),
                                           std::pair(u"fileSystem"_s, fileSystemCaption)})
            row.facts.append(
                drive.gap ? ReportFact(key, caption)
                          : missingFact(key, caption,
                                        {ReportGap::Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "卷不可读")}));
    }
    row.facts.append(
        sizeFact(u"totalBytes"_s, words.translate("ReportBuilder", "总大小"), drive.totalBytes, !drive.gap, words));
    row.facts.append(
        sizeFact(u"freeBytes"_s, words.translate("ReportBuilder", "可用空间"), drive.freeBytes, !drive.gap, words));
    return row;
}

void addDisk(ReportSection &section, const Answered<DiskReading> &answer, const Wording &words)
{
    const QList<std::pair<QString, QString>> facts{{u"selected"_s, words.translate("ReportBuilder", "驱动器")},
                                                   {u"volumeLabelSerial"_s, captionOf(u"Label15"_s, words)},
                                                   {u"fileSystem"_s, captionOf(u"Label13"_s, words)},
                                                   {u"type"_s, captionOf(u"Label34"_s, words)},
                                                   {u"totalBytes"_s, captionOf(u"Label21"_s, words)},
                                                   {u"freeBytes"_s, captionOf(u"Label23"_s, words)}};
    const QString listCaption = words.translate("ReportBuilder", "驱动器列表");
    const auto *disk = std::get_if<DiskReading>(&answer);
    if (!disk) {
        for (const auto &[key, caption] : facts)
            section.add(missingFact(key, caption, std::get<ReportGap>(answer)));
        section.add(ReportList(u"drives"_s, listCaption, std::get<ReportGap>(answer)));
        return;
    }
    const auto chosen = std::find_if(disk->drives.cbegin(), disk->drives.cend(),
                                     [disk](const DriveReading &drive) { return drive.letter == disk->selected; });
    const DriveReading *selected = chosen == disk->drives.cend() ? nullptr : &*chosen;
    const QJsonValue letter = disk->selected.isNull() ? QJsonValue() : QJsonValue(QString(disk->selected));
    const std::optional<ReportGap> &gap = disk->selectedGap;
    section.add(shownFact(u"selected"_s, facts.at(0).second, disk->selectorText, letter, gap));
    section.add(shownFact(u"volumeLabelSerial"_s, facts.at(1).second, disk->labelSerialText,
                          disk->labelSerialText.value_or(QString()), gap));
    section.add(shownFact(u"fileSystem"_s, facts.at(2).second, disk->fileSystemText,
                          disk->fileSystemText.value_or(QString()), gap));
    if (disk->typeText && selected)
        section.add(typeFact(facts.at(3).second, selected->type, *disk->typeText));
    else
        section.add(shownFact(u"type"_s, facts.at(3).second, disk->typeText, QJsonValue(), gap));
    const auto bytes = [selected](std::optional<quint64> DriveReading::*field) {
        return selected && (selected->*field) ? byteCount(*(selected->*field)) : QJsonValue();
    };
    section.add(shownFact(u"totalBytes"_s, facts.at(4).second, disk->totalText, bytes(&DriveReading::totalBytes), gap));
    section.add(shownFact(u"freeBytes"_s, facts.at(5).second, disk->freeText, bytes(&DriveReading::freeBytes), gap));
    ReportList drives(u"drives"_s, listCaption);
    for (const DriveReading &drive : disk->drives)
        drives.rows.append(driveRow(drive, words));
    section.add(drives);
}

void addServices(ReportSection &section, const Answered<QList<ServiceEntry>> &answer, const Wording &words)
{
    ReportList list(u"services"_s, captionOf(u"GroupBox4"_s, words));
    if (const auto *services = std::get_if<QList<ServiceEntry>>(&answer)) {
        const QString nameCaption = words.translate("ReportBuilder", "名称");
        const QString unitCaption = words.translate("ReportBuilder", "单元");
        for (const ServiceEntry &service : *services)
            list.rows.append(ReportRow({stringFact(u"name"_s, nameCaption, service.displayName),
                                        stringFact(u"unit"_s, unitCaption, service.name)}));
    } else {
        list.gap = std::get<ReportGap>(answer);
    }
    section.add(list);
}

QString sourceName(const QString &source)
{
    return source.toLower();
}

// A package manager the reading could not list in full, in the report's words.
ReportFact programNoteFact(const QString &note)
{
    const QString manager = note.section(u':', 0, 0);
    const QString key = u"programs."_s + manager;
    if (note.contains(u"no answer"_s))
        return missingFact(key, {},
                           {ReportGap::Reason::NoAnswer, QT_TRANSLATE_NOOP("ReportGap", "%1 没有及时回答"), manager});
    if (note.contains(u"cut"_s))
        return missingFact(key, {},
                           {ReportGap::Reason::Failed,
                            QT_TRANSLATE_NOOP("ReportGap", "%1 的软件包列表过长，超出读取上限的部分未列出"), manager});
    return missingFact(key, {},
                       {ReportGap::Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "%1 的软件包列表无法读取"), manager});
}

void addPrograms(ReportSection &section, const Answered<QList<ProgramEntry>> &answer, const QStringList &notes,
                 const Wording &words)
{
    ReportList list(u"programs"_s, captionOf(u"GroupBox6"_s, words));
    if (const auto *programs = std::get_if<QList<ProgramEntry>>(&answer)) {
        const QString nameCaption = words.translate("ReportBuilder", "名称");
        const QString sourceCaption = words.translate("ReportBuilder", "来源");
        const QString versionCaption = words.translate("ReportBuilder", "版本");
        const QString removalCaption = words.translate("ReportBuilder", "卸载命令");
        const QString systemRequired = SystemPage::systemRequiredText(words);
        for (const ProgramEntry &program : *programs) {
            ReportFact source = fact(u"source"_s, sourceCaption, optionalText(sourceName(program.source)),
                                     program.source);
            ReportFact version = fact(u"version"_s, versionCaption, optionalText(program.version), program.version,
                                      Personal::Verbatim);
            // The system cannot do without it: no command removes it, which people read as such.
            ReportFact removal = program.systemRequired
                ? fact(u"removeCommand"_s, removalCaption, QJsonValue(), systemRequired)
                : stringFact(u"removeCommand"_s, removalCaption, program.removeCommand);
            list.rows.append(ReportRow({stringFact(u"name"_s, nameCaption, program.name), source, version, removal,
                                        fact(u"systemRequired"_s, {}, program.systemRequired, QString())}));
        }
    } else {
        list.gap = std::get<ReportGap>(answer);
    }
    section.add(list);
    for (const QString &note : notes)
        section.add(programNoteFact(note));
}

void addPrinters(ReportSection &section, const Answered<PrinterReading> &answer, const Wording &words)
{
    ReportList list(u"printers"_s, captionOf(u"Label30"_s, words));
    const auto *printers = std::get_if<PrinterReading>(&answer);
    const QString nameCaption = captionOf(u"Label28"_s, words);
    const QString resolutionCaption = captionOf(u"Label29"_s, words);
    const QString colorCaption = words.translate("ReportBuilder", "彩色打印");
    if (!printers) {
        list.gap = std::get<ReportGap>(answer);
        section.add(list);
        for (const auto &[key, caption] :
             {std::pair(u"defaultPrinter"_s, nameCaption), std::pair(u"color"_s, QString()),
              std::pair(u"colorSupported"_s, colorCaption), std::pair(u"resolution"_s, resolutionCaption)})
            section.add(missingFact(key, caption, list.gap.value()));
        return;
    }
    const PrinterPage::Shown &shown = printers->shown;
    for (const QString &name : printers->names) {
        const bool isDefault = shown.defaultPrinterName && name == *shown.defaultPrinterName;
        list.rows.append(ReportRow(
            {stringFact(u"name"_s, words.translate("ReportBuilder", "名称"), name),
             fact(u"default"_s, words.translate("ReportBuilder", "默认"), isDefault,
                  isDefault ? words.translate("ReportBuilder", "是") : words.translate("ReportBuilder", "否"))}));
    }
    section.add(list);
    const ReportGap gap = printers->defaultGap.value_or(
        ReportGap{ReportGap::Reason::Absent, QT_TRANSLATE_NOOP("ReportGap", "没有默认打印机")});
    if (shown.defaultPrinterName && shown.deviceMode)
        section.add(fact(u"defaultPrinter"_s, nameCaption, *shown.defaultPrinterName,
                         PrinterPage::defaultPrinterText(*shown.defaultPrinterName, *shown.deviceMode, words).plain()));
    else
        section.add(missingFact(u"defaultPrinter"_s, nameCaption, gap));
    if (shown.deviceMode) {
        section.add(fact(u"color"_s, {}, PrinterPage::printsInColor(*shown.deviceMode), QString()));
        section.add(fact(u"colorSupported"_s, colorCaption, PrinterPage::supportsColor(*shown.deviceMode),
                         PrinterPage::colorSupportText(*shown.deviceMode, words)));
    } else {
        section.add(missingFact(u"color"_s, {}, gap));
        section.add(missingFact(u"colorSupported"_s, colorCaption, gap));
    }
    if (shown.resolution)
        section.add(fact(u"resolution"_s, resolutionCaption,
                         QJsonObject{{u"x"_s, shown.resolution->width()}, {u"y"_s, shown.resolution->height()}},
                         PrinterPage::resolutionText(shown.resolution->width(), shown.resolution->height(), words)));
    else
        section.add(missingFact(u"resolution"_s, resolutionCaption, gap));
}

void addNetwork(ReportSection &section, const MachineReadings &readings, const Wording &words)
{
    const QString addressCaption = captionOf(u"Label18"_s, words);
    if (const auto *address = std::get_if<QString>(&readings.address); address && !address->isEmpty())
        section.add(stringFact(u"address"_s, addressCaption, *address));
    else
        section.add(missingFact(
            u"address"_s, addressCaption,
            address ? ReportGap{ReportGap::Reason::Absent, QT_TRANSLATE_NOOP("ReportGap", "计算机名没有 IPv4 地址")}
                    : std::get<ReportGap>(readings.address)));
    const QString nameCaption = captionOf(u"Label20"_s, words);
    if (const auto *name = std::get_if<QString>(&readings.hostName); name && !name->isEmpty())
        section.add(stringFact(u"hostName"_s, nameCaption, *name, Personal::HostName));
    else
        section.add(
            missingFact(u"hostName"_s, nameCaption,
                        name ? ReportGap{ReportGap::Reason::Absent, QT_TRANSLATE_NOOP("ReportGap", "计算机没有名称")}
                             : std::get<ReportGap>(readings.hostName)));
    const QString uptimeCaption = captionOf(u"Label32"_s, words);
    if (const auto *ticks = std::get_if<quint64>(&readings.tickCount)) {
        // Without the label's own "运行时间: ", which would repeat the caption.
        const QString text = OtherPage::durationText(*ticks, words);
        section.add(fact(u"uptimeSeconds"_s, uptimeCaption, qint64(*ticks / MillisecondsPerSecond), text));
    } else {
        section.add(missingFact(u"uptimeSeconds"_s, uptimeCaption, std::get<ReportGap>(readings.tickCount)));
    }
}

void addSystem(ReportSection &section, const Answered<SystemSummary> &answer, const Wording &words)
{
    const auto *summary = std::get_if<SystemSummary>(&answer);
    const ReportGap gap = summary ? ReportGap{ReportGap::Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "系统没有给出")}
                                  : std::get<ReportGap>(answer);
    const auto add = [&section, &gap](bool known, const ReportFact &fact) {
        section.add(known ? fact : missingFact(fact.key, fact.caption, gap));
    };
    const std::optional<OperatingSystem> os = summary ? summary->operatingSystem : std::nullopt;
    add(os.has_value(),
        fact(u"operatingSystem"_s, captionOf(u"Label39"_s, words),
             os ? QJsonValue(QJsonObject{{u"name"_s, os->name},
                                         {u"id"_s, optionalText(os->id)},
                                         {u"versionId"_s, optionalText(os->versionId)}})
                : QJsonValue(),
             OtherPage::operatingSystemText(os, words)));
    const std::optional<KernelIdentity> kernel = summary ? summary->kernel : std::nullopt;
    add(kernel.has_value(),
        fact(u"kernel"_s, captionOf(u"Label41"_s, words),
             kernel ? QJsonValue(QJsonObject{{u"name"_s, kernel->name}, {u"release"_s, kernel->release}})
                    : QJsonValue(),
             OtherPage::kernelText(kernel, words)));
    add(kernel.has_value(),
        stringFact(u"architecture"_s, captionOf(u"Label43"_s, words), OtherPage::architectureText(kernel, words)));
    const ProcessorCount count = summary ? summary->processors : ProcessorCount();
    add(count.threads.has_value(),
        fact({}, captionOf(u"Label45"_s, words), {}, OtherPage::processorCountText(count, words)));
    add(count.cores.has_value(), fact(u"cores"_s, {}, count.cores.value_or(0), {}));
    add(count.threads.has_value(), fact(u"threads"_s, {}, count.threads.value_or(0), {}));
    const DesktopSession session = summary ? summary->session : DesktopSession();
    add(summary != nullptr, fact({}, captionOf(u"Label47"_s, words), {}, OtherPage::sessionText(session, words)));
    add(summary != nullptr, fact(u"desktop"_s, {}, optionalText(session.desktop), {}));
    add(summary != nullptr, fact(u"session"_s, {}, optionalText(session.type.toLower()), {}));
}

void addAbout(ReportSection &section, const Wording &words)
{
    section.add(
        stringFact(u"title"_s, words.translate("ReportBuilder", "程序"), TFormMain::ProgramTitle, Personal::Verbatim));
    section.add(
        stringFact(u"version"_s, words.translate("ReportBuilder", "版本"), TFormMain::Version, Personal::Verbatim));
    section.add(
        stringFact(u"homePage"_s, captionOf(u"Label37"_s, words), AboutPage::HomePageAddress, Personal::Verbatim));
    section.add(stringFact(u"email"_s, captionOf(u"Label38"_s, words), AboutPage::ContactAddress, Personal::Verbatim));
}

ReportSection section(const QString &key, int tab, const Wording &words)
{
    ReportSection section;
    section.key = key;
    section.title = FormCaptions::tab(tab, words);
    return section;
}

} // namespace

QList<ReportBuilder::CaptionLine> ReportBuilder::captionLines(const QList<ProcessorPage::ReportLine> &lines)
{
    const auto clean = [](QString text) {
        text = text.remove(QChar(u'\0')).trimmed();
        if (text.startsWith(u"- "_s))
            text = text.mid(2).trimmed();
        while (text.endsWith(u':'))
            text = text.chopped(1).trimmed();
        return text;
    };
    QList<CaptionLine> captionLines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString caption = clean(lines.at(i).label);
        QString value = clean(lines.at(i).value);
        // The brand stands on the line below its caption, which has no value of its own.
        if (!caption.isEmpty() && value.isEmpty() && i + 1 < lines.size() && clean(lines.at(i + 1).label).isEmpty())
            value = clean(lines.at(++i).value);
        // The title repeats the page's name; blank lines only space the drawing.
        if (value.isEmpty())
            continue;
        // A list wrapped over lines (the instruction set extensions) goes on without a caption.
        if (caption.isEmpty() && !captionLines.isEmpty() && !captionLines.last().caption.isEmpty()
            && !lines.at(i - 1).value.isEmpty() && clean(lines.at(i - 1).label).isEmpty()) {
            captionLines.last().value += u' ' + value;
            continue;
        }
        captionLines.append({caption, value});
    }
    return captionLines;
}

QString ReportBuilder::driveTypeName(DriveType type)
{
    switch (type) {
    case DriveType::Removable:
        return u"removable"_s;
    case DriveType::Fixed:
        return u"fixed"_s;
    case DriveType::Remote:
        return u"remote"_s;
    case DriveType::CdRom:
        return u"cdrom"_s;
    case DriveType::RamDisk:
        return u"ramdisk"_s;
    default:
        return u"unknown"_s;
    }
}

SystemFacts ReportBuilder::build(const MachineReadings &readings)
{
    const Wording &words = readings.words;
    SystemFacts facts(words);
    facts.program = TFormMain::ProgramTitle;
    facts.version = TFormMain::Version;
    facts.takenAt = readings.takenAt;
    if (const auto *name = std::get_if<QString>(&readings.hostName))
        facts.hostName = *name;

    ReportSection processor = section(u"processor"_s, 0, words);
    addProcessor(processor, readings.processor, readings.system);
    ReportSection memory = section(u"memory"_s, 1, words);
    addMemory(memory, readings.memory, words);
    ReportSection disk = section(u"disk"_s, 2, words);
    addDisk(disk, readings.disk, words);
    ReportSection system = section(u"system"_s, 3, words);
    addServices(system, readings.services, words);
    addPrograms(system, readings.programs, readings.programNotes, words);
    ReportSection printer = section(u"printer"_s, 4, words);
    addPrinters(printer, readings.printers, words);
    ReportSection other = section(u"other"_s, 5, words);
    addNetwork(other, readings, words);
    addSystem(other, readings.system, words);
    ReportSection about = section(u"about"_s, 6, words);
    addAbout(about, words);
    facts.sections = {processor, memory, disk, system, printer, other, about};
    return facts;
}
