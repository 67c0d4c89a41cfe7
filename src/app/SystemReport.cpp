// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemReport.h"

#include "FormCaptions.h"
#include "UnitFormMain.h"
#include "controls/JoinedText.h"
#include "controls/TDriveComboBox.h"
#include "controls/TLabel.h"
#include "controls/TListBox.h"
#include "controls/TListView.h"
#include "pages/AboutPage.h"
#include "pages/DiskPage.h"
#include "pages/MegabyteText.h"
#include "pages/MemoryPage.h"
#include "pages/OtherPage.h"
#include "pages/PrinterPage.h"
#include "pages/ProcessorPage.h"
#include "pages/SystemPage.h"
#include "pages/TPrinter.h"
#include "pages/UPub_Version.h"
#include "platform/ClockSource.h"
#include "platform/CpuidSource.h"
#include "platform/DriveSource.h"
#include "platform/Failure.h"
#include "platform/MemorySource.h"
#include "platform/Platform.h"
#include "platform/PrinterSource.h"
#include "platform/ServiceSource.h"

#include <QGroupBox>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <functional>
#include <future>
#include <limits>
#include <thread>
#include <tuple>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

constexpr quint64 MillisecondsPerSecond = 1000;

// The text a control shows, by object name: a label's caption or a group box's title.
using ShownText = std::function<QString(const QString &control)>;

QString withoutNul(QString text)
{
    return text.remove(QChar(u'\0'));
}

// One line of plain text: no character may act on the terminal or editor that
// shows it, so control characters become their pictures and NULs go.
QString plainLine(const QString &line)
{
    QString plain;
    plain.reserve(line.size());
    for (const QChar c : line) {
        const char16_t code = c.unicode();
        if (code == 0)
            continue;
        if (code < 0x20)
            plain.append(QChar(char16_t(0x2400 + code)));
        else if (code == 0x7F)
            plain.append(QChar(u'\u2421'));
        else if (code >= 0x80 && code < 0xA0)
            plain.append(QChar(u'\uFFFD'));
        else
            plain.append(c);
    }
    return plain;
}

// Characters JSON allows raw but that could mislead a person or a program
// reading the text: C1 controls, bidirectional formatting, line separators.
bool needsEscape(char16_t code)
{
    return (code >= 0x7F && code < 0xA0) || code == 0x061C || code == 0x200E || code == 0x200F
        || (code >= 0x2028 && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

// They never occur outside strings in a JSON text, so escaping them in the whole text is safe.
QByteArray escapeInvisible(const QByteArray &json)
{
    const QString text = QString::fromUtf8(json);
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (needsEscape(c.unicode()))
            escaped.append(u"\\u%1"_s.arg(int(c.unicode()), 4, 16, QChar(u'0')));
        else
            escaped.append(c);
    }
    return escaped.toUtf8();
}

QJsonValue byteCount(quint64 bytes)
{
    // Beyond 2^63 only a double can carry it; no machine has that much yet.
    if (bytes > quint64(std::numeric_limits<qint64>::max()))
        return double(bytes);
    return qint64(bytes);
}

QJsonValue optionalBytes(const std::optional<quint64> &bytes)
{
    return bytes ? byteCount(*bytes) : QJsonValue(QJsonValue::Null);
}

QString driveTypeName(DriveType type)
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

// Everything the report says about one drive.
struct DriveFacts
{
    QChar letter;
    DriveType type = DriveType::Unknown;
    std::optional<VolumeInformation> volume;
    std::optional<DriveLocation> location;
    std::optional<QString> remoteName;
    std::optional<quint64> totalBytes;
    std::optional<quint64> freeBytes;
};

QString rootOf(QChar letter)
{
    return QString(letter.toUpper()) + u":\\"_s;
}

QList<DriveFacts> readDrives(DriveSource &drives)
{
    QList<DriveFacts> all;
    const quint32 mask = drives.logicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((mask & (1u << i)) == 0)
            continue;
        DriveFacts drive;
        drive.letter = QChar(char16_t(u'A' + i));
        const QString root = rootOf(drive.letter);
        drive.type = drives.driveType(root);
        drive.volume = drives.volumeInformation(root);
        drive.location = drives.location(root);
        drive.remoteName = drives.remoteName(QString(drive.letter) + u':');
        drive.totalBytes = drives.totalBytes(root);
        drive.freeBytes = drives.freeBytesForCaller(root);
        all.append(drive);
    }
    return all;
}

// The texts the disk page shows for the drive with this letter, by object name.
QHash<QString, QString> diskTexts(DriveSource &drives, QChar letter)
{
    QHash<QString, QString> texts;
    const QChar lower = letter.toLower();
    if (const std::optional<TDriveComboBox::Item> item = TDriveComboBox::driveItem(drives, lower))
        texts.insert(u"DriveComboBox1"_s, item->text.plain());
    const std::optional<JoinedText> labelSerial = DiskPage::VolumeLabelSerialText(drives, lower);
    texts.insert(u"Label16"_s, labelSerial ? labelSerial->plain() : QString());
    texts.insert(u"Label14"_s, DiskPage::FileSystemNameText(drives, lower).value_or(QString()));
    texts.insert(u"Label33"_s, DiskPage::driveTypeText(drives.driveType(rootOf(letter))));
    texts.insert(u"Label22"_s, DiskPage::sizeText(drives.totalBytes(rootOf(letter))));
    texts.insert(u"Label24"_s, DiskPage::sizeText(drives.freeBytesForCaller(rootOf(letter))));
    return texts;
}

struct PrinterFacts
{
    QStringList names;
    PrinterPage::Shown shown;
    QStringList missing;
};

// What one tick of the printer page learns, each step on its own so that one
// failing leaves the others.
PrinterFacts readPrinters(PrinterSource &printers)
{
    PrinterFacts facts;
    printers.beginRound();
    TPrinter printer(printers);
    for (const TPrinter::PrinterEntry &entry : printer.PrinterList())
        facts.names.append(entry.first);
    try {
        printer.setCurrentPrinterIndex(TPrinter::DefaultPrinter);
        facts.shown.defaultPrinterName = printer.currentPrinter().device();
        const InformationContext &context = printer.PrinterInfoContext();
        facts.shown.resolution = QSize(context.deviceCaps(InformationContext::LogPixelsX),
                                       context.deviceCaps(InformationContext::LogPixelsY));
        facts.shown.deviceMode = PrinterPage::deviceModeByName(printers, *facts.shown.defaultPrinterName);
    } catch (const Failure &failure) {
        facts.missing.append(u"printer: "_s + failure.message());
    }
    return facts;
}

// A query of one domain of the machine, asked on a thread of its own so that a
// source that hangs holds up only its own part of the report.
template<typename Result>
class BoundedQuery
{
public:
    explicit BoundedQuery(std::function<Result()> ask)
    {
        std::packaged_task<Result()> task(std::move(ask));
        m_answer = task.get_future();
        std::thread(std::move(task)).detach();
    }

    // The answer, or why there is none.
    std::variant<Result, QString> answer(Clock::time_point deadline, std::chrono::milliseconds timeLimit)
    {
        if (m_answer.wait_until(deadline) != std::future_status::ready)
            return u"no answer within %1 ms"_s.arg(timeLimit.count());
        try {
            return m_answer.get();
        } catch (const Failure &failure) {
            return failure.message();
        } catch (const std::exception &failure) {
            return QString::fromLocal8Bit(failure.what());
        }
    }

private:
    std::future<Result> m_answer;
};

} // namespace

// One page of the report, written to the text and the JSON form at once.
class SystemReport::Section
{
public:
    Section(QString key, const QString &title)
        : m_key(std::move(key))
    {
        m_lines.append(u"[%1]"_s.arg(title));
    }

    // A line of the page: the caption and the value as shown; under key in JSON when given.
    void fact(const QString &caption, const QString &text, const QString &key = {},
              const QJsonValue &value = QJsonValue::Undefined)
    {
        if (caption.isEmpty() || caption.endsWith(u' '))
            m_lines.append(caption + text);
        else
            m_lines.append(caption + u' ' + text);
        if (!key.isEmpty())
            json(key, value.isUndefined() ? QJsonValue(text) : value);
    }
    // A line the text form alone has: a heading of a list.
    void heading(const QString &caption) { m_lines.append(caption); }
    // One field of a list entry, keyword first: "  drive: C:", "    mountPoint: /".
    void item(int depth, const QString &keyword, const QString &value)
    {
        m_lines.append(QString(qsizetype{2} * depth, u' ') + keyword + u": "_s + value);
    }
    void json(const QString &key, const QJsonValue &value) { m_json.insert(key, cleaned(value)); }
    void missing(const QString &what)
    {
        m_lines.append(u"(missing: %1)"_s.arg(what));
        m_missing.append(what);
    }

    const QString &key() const { return m_key; }
    const QStringList &lines() const { return m_lines; }
    QJsonObject object() const
    {
        QJsonObject object = m_json;
        if (!m_missing.isEmpty())
            object.insert(u"missing"_s, QJsonArray::fromStringList(m_missing));
        return object;
    }

    static QJsonValue cleaned(const QJsonValue &value)
    {
        if (value.isString())
            return withoutNul(value.toString());
        if (value.isArray()) {
            QJsonArray array;
            for (const QJsonValue element : value.toArray())
                array.append(cleaned(element));
            return array;
        }
        if (value.isObject()) {
            QJsonObject object = value.toObject();
            for (auto it = object.begin(); it != object.end(); ++it)
                it.value() = cleaned(it.value());
            return object;
        }
        return value;
    }

private:
    QString m_key;
    QStringList m_lines;
    QJsonObject m_json;
    QStringList m_missing;
};

namespace {

using Section = SystemReport::Section;

void addProcessor(Section &section, const QList<ProcessorPage::ReportLine> &lines, bool hasCpuid)
{
    QJsonArray json;
    for (const ProcessorPage::ReportLine &line : lines) {
        section.fact(QString(), line.label + line.value);
        if (!line.label.isEmpty() || !line.value.isEmpty())
            json.append(QJsonObject{{u"caption"_s, line.label.trimmed()}, {u"value"_s, line.value.trimmed()}});
    }
    section.json(u"cpuid"_s, hasCpuid);
    section.json(u"lines"_s, json);
    if (!hasCpuid)
        section.missing(u"the processor has no CPUID instruction"_s);
    else if (lines.isEmpty())
        section.missing(u"the report is not drawn yet"_s);
}

void addMemory(Section &section, const ShownText &shown, const std::optional<MemoryStatus> &status)
{
    const auto figure = [&](const QString &caption, const QString &value, const QString &key, quint64 number) {
        section.fact(shown(caption), shown(value), status ? key : QString(), byteCount(number));
    };
    const MemoryStatus figures = status.value_or(MemoryStatus());
    figure(u"Label1"_s, u"Label2"_s, u"totalPhysicalBytes"_s, figures.totalPhys);
    figure(u"Label3"_s, u"Label4"_s, u"availablePhysicalBytes"_s, figures.availPhys);
    figure(u"Label5"_s, u"Label6"_s, u"totalPageFileBytes"_s, figures.totalPageFile);
    figure(u"Label7"_s, u"Label8"_s, u"availablePageFileBytes"_s, figures.availPageFile);
    figure(u"Label9"_s, u"Label10"_s, u"loadPercent"_s, figures.memoryLoad);
    if (!status)
        section.missing(u"no memory figures"_s);
}

QJsonObject driveObject(const DriveFacts &drive)
{
    QJsonObject object{{u"letter"_s, QString(drive.letter)}, {u"type"_s, driveTypeName(drive.type)}};
    object.insert(u"mountPoint"_s, drive.location ? QJsonValue(drive.location->mountPoint) : QJsonValue());
    object.insert(u"device"_s, drive.location ? QJsonValue(drive.location->device) : QJsonValue());
    object.insert(u"remoteName"_s, drive.remoteName ? QJsonValue(textUntilZero(*drive.remoteName)) : QJsonValue());
    object.insert(u"label"_s, drive.volume ? QJsonValue(textUntilZero(drive.volume->volumeName)) : QJsonValue());
    object.insert(u"serial"_s, drive.volume ? QJsonValue(qint64(drive.volume->serialNumber)) : QJsonValue());
    object.insert(u"fileSystem"_s,
                  drive.volume ? QJsonValue(textUntilZero(drive.volume->fileSystemName)) : QJsonValue());
    object.insert(u"totalBytes"_s, optionalBytes(drive.totalBytes));
    object.insert(u"freeBytes"_s, optionalBytes(drive.freeBytes));
    return object;
}

void addDriveItem(Section &section, const DriveFacts &drive)
{
    const QJsonObject object = driveObject(drive);
    section.item(1, u"drive"_s, QString(drive.letter) + u':');
    for (const QString &key : {u"mountPoint"_s, u"device"_s, u"remoteName"_s, u"type"_s, u"label"_s, u"serial"_s,
                               u"fileSystem"_s, u"totalBytes"_s, u"freeBytes"_s}) {
        const QJsonValue value = object.value(key);
        if (value.isNull())
            continue;
        if (key == u"serial")
            section.item(2, key, u"%1"_s.arg(drive.volume->serialNumber, 8, 16, QChar(u'0')).toUpper());
        else if (key == u"type")
            section.item(2, key, value.toString() + u" ("_s + DiskPage::driveTypeText(drive.type) + u')');
        else
            section.item(2, key, value.isString() ? value.toString() : QString::number(value.toInteger()));
    }
    if (!drive.volume)
        section.item(2, u"volume"_s, u"cannot be read"_s);
}

void addDisk(Section &section, const ShownText &shown, QChar letter, const QList<DriveFacts> &drives)
{
    section.fact(shown(u"GroupBox5"_s) + u':', shown(u"DriveComboBox1"_s), u"selected"_s,
                 letter.isNull() ? QJsonValue() : QJsonValue(QString(letter.toUpper())));
    section.fact(shown(u"Label15"_s), shown(u"Label16"_s), u"volumeLabelSerial"_s);
    section.fact(shown(u"Label13"_s), shown(u"Label14"_s), u"fileSystem"_s);
    section.fact(shown(u"Label34"_s), shown(u"Label33"_s), u"type"_s);
    // The size labels show megabytes; tools get the chosen drive's bytes.
    const auto chosen = std::find_if(drives.cbegin(), drives.cend(),
                                     [letter](const DriveFacts &drive) { return drive.letter == letter.toUpper(); });
    const bool known = chosen != drives.cend();
    section.fact(shown(u"Label21"_s), shown(u"Label22"_s), u"totalBytes"_s,
                 known ? optionalBytes(chosen->totalBytes) : QJsonValue());
    section.fact(shown(u"Label23"_s), shown(u"Label24"_s), u"freeBytes"_s,
                 known ? optionalBytes(chosen->freeBytes) : QJsonValue());
    QJsonArray json;
    section.heading(u"drives:"_s);
    for (const DriveFacts &drive : drives) {
        addDriveItem(section, drive);
        json.append(driveObject(drive));
    }
    section.json(u"drives"_s, json);
    if (drives.isEmpty())
        section.missing(u"no drives"_s);
}

void addServices(Section &section, const ShownText &shown, const std::optional<QList<ServiceEntry>> &services)
{
    section.heading(shown(u"GroupBox4"_s));
    QJsonArray json;
    for (const ServiceEntry &service : services.value_or(QList<ServiceEntry>())) {
        section.item(1, u"service"_s, service.displayName);
        section.item(2, u"unit"_s, service.name);
        json.append(QJsonObject{{u"name"_s, service.displayName}, {u"unit"_s, service.name}});
    }
    section.json(u"services"_s, json);
    if (!services)
        section.missing(u"the service list cannot be read"_s);
}

void addPrograms(Section &section, const ShownText &shown, const QList<TListView::Item> &programs)
{
    section.heading(shown(u"GroupBox6"_s));
    QJsonArray json;
    for (const TListView::Item &program : programs) {
        const QString removal = program.subItems.value(0);
        section.item(1, u"program"_s, program.caption);
        section.item(2, u"remove"_s, removal);
        json.append(QJsonObject{{u"name"_s, program.caption}, {u"removeCommand"_s, removal}});
    }
    section.json(u"programs"_s, json);
}

void addPrinters(Section &section, const ShownText &shown, const QStringList &names, const PrinterPage::Shown &facts)
{
    section.heading(shown(u"Label30"_s));
    QJsonArray json;
    for (const QString &name : names) {
        const bool isDefault = facts.defaultPrinterName && name == *facts.defaultPrinterName;
        section.item(1, isDefault ? u"default printer"_s : u"printer"_s, name);
        json.append(QJsonObject{{u"name"_s, name}, {u"default"_s, isDefault}});
    }
    section.json(u"printers"_s, json);
    const auto known = [](bool has, const QJsonValue &value) {
        return has ? value : QJsonValue();
    };
    section.fact(shown(u"Label28"_s), shown(u"Label26"_s), u"defaultPrinter"_s,
                 known(bool(facts.defaultPrinterName), facts.defaultPrinterName.value_or(QString())));
    const DeviceMode mode = facts.deviceMode.value_or(DeviceMode());
    section.fact(QString(), shown(u"Label27"_s), u"color"_s,
                 known(bool(facts.deviceMode), PrinterPage::printsInColor(mode)));
    section.json(u"colorSupported"_s, known(bool(facts.deviceMode), PrinterPage::supportsColor(mode)));
    const QSize dpi = facts.resolution.value_or(QSize());
    section.fact(shown(u"Label29"_s), shown(u"Label25"_s), u"resolution"_s,
                 known(bool(facts.resolution), QJsonObject{{u"x"_s, dpi.width()}, {u"y"_s, dpi.height()}}));
    if (names.isEmpty())
        section.missing(u"no printers"_s);
}

void addOther(Section &section, const ShownText &shown, const std::optional<quint64> &tickCount)
{
    section.heading(shown(u"GroupBox7"_s));
    section.fact(shown(u"Label18"_s), shown(u"Label17"_s), u"address"_s);
    section.fact(shown(u"Label20"_s), shown(u"Label19"_s), u"hostName"_s);
    section.heading(shown(u"GroupBox8"_s));
    section.fact(shown(u"Label32"_s), shown(u"Label31"_s), u"uptimeSeconds"_s,
                 tickCount ? QJsonValue(qint64(*tickCount / MillisecondsPerSecond)) : QJsonValue());
}

void addAbout(Section &section, const ShownText &shown)
{
    section.fact(QString(), shown(u"Label35"_s), u"title"_s);
    section.fact(QString(), shown(u"LabVer"_s), u"version"_s, TFormMain::Version);
    section.fact(shown(u"Label37"_s), shown(u"UrlLabel1"_s), u"homePage"_s);
    section.fact(shown(u"Label38"_s), shown(u"UrlLabel2"_s), u"email"_s);
}

QString windowText(const TFormMain &window, const QString &control)
{
    if (const auto *label = window.findChild<TLabel *>(control))
        return label->caption();
    if (const auto *box = window.findChild<QGroupBox *>(control))
        return box->title();
    if (const auto *selector = window.findChild<TDriveComboBox *>(control))
        return selector->currentText();
    return {};
}

} // namespace

void SystemReport::add(const Section &section)
{
    if (!m_lines.isEmpty())
        m_lines.append(QString());
    for (const QString &line : section.lines())
        m_lines.append(plainLine(line));
    m_json.insert(section.key(), section.object());
}

QString SystemReport::toText() const
{
    return TFormMain::ProgramTitle + u' ' + TFormMain::Version + u"\n\n"_s + m_lines.join(u'\n') + u'\n';
}

QByteArray SystemReport::toJson() const
{
    return escapeInvisible(QJsonDocument(m_json).toJson(QJsonDocument::Indented));
}

QStringList SystemReport::missing() const
{
    QStringList all;
    for (auto it = m_json.constBegin(); it != m_json.constEnd(); ++it)
        for (const QJsonValue what : it.value().toObject().value(u"missing"_s).toArray())
            all.append(it.key() + u": "_s + what.toString());
    return all;
}

namespace {

// The section of one page of the window, filled from the page; a page not built (yet) is missing.
template<typename Page, typename Fill>
Section windowSection(const TFormMain &window, const QString &key, int tab, Fill &&fill)
{
    Section section(key, FormCaptions::tab(tab));
    if (const auto *page = window.findChild<Page *>())
        fill(section, *page);
    else
        section.missing(u"the page is not built"_s);
    return section;
}

} // namespace

SystemReport SystemReport::fromWindow(const TFormMain &window)
{
    const ShownText shown = [&window](const QString &control) {
        return windowText(window, control);
    };
    SystemReport report;
    report.add(windowSection<ProcessorPage>(window, u"processor"_s, 0, [](Section &section, const ProcessorPage &page) {
        addProcessor(section, page.lines(), page.hasCpuid());
    }));
    report.add(windowSection<MemoryPage>(window, u"memory"_s, 1, [&](Section &section, const MemoryPage &page) {
        addMemory(section, shown, page.shownStatus());
    }));
    report.add(windowSection<DiskPage>(window, u"disk"_s, 2, [&](Section &section, const DiskPage &page) {
        addDisk(section, shown, page.driveSelector()->driveLetter(), readDrives(page.driveSource()));
    }));
    report.add(windowSection<SystemPage>(window, u"system"_s, 3, [&](Section &section, const SystemPage &page) {
        addServices(section, shown, page.services());
        addPrograms(section, shown, page.programs());
    }));
    report.add(windowSection<PrinterPage>(window, u"printer"_s, 4, [&](Section &section, const PrinterPage &page) {
        const auto *list = page.findChild<TListBox *>(u"ListBox2"_s);
        addPrinters(section, shown, list ? list->lines() : QStringList(), page.shown());
    }));
    report.add(windowSection<OtherPage>(window, u"other"_s, 5, [&](Section &section, const OtherPage &page) {
        addOther(section, shown, page.shownTickCount());
    }));
    Section about(u"about"_s, FormCaptions::tab(6));
    addAbout(about, shown);
    report.add(about);
    return report;
}

namespace {

// What the command line reads of each domain, asked all at once.
struct PlatformQueries
{
    explicit PlatformQueries(Platform &platform)
        : processor([&platform] { return ProcessorPage::reportLines(platform.cpuid()); })
        , memory([&platform] { return platform.memory().globalMemoryStatus(); })
        , drives([&platform] {
            DriveSource &source = platform.drives();
            const QString current = source.currentDirectory();
            const QChar letter = current.size() >= 2 && current.at(1) == u':' ? current.at(0) : QChar();
            return std::tuple(letter, letter.isNull() ? QHash<QString, QString>() : diskTexts(source, letter),
                              readDrives(source));
        })
        , services([&platform] { return SystemPage::readServices(platform.services()); })
        , programs([&platform] { return SystemPage::readPrograms(platform.registry()); })
        , printers([&platform] { return readPrinters(platform.printers()); })
        , network([&platform] {
            return std::pair(OtherPage::localHostInfo(platform.network(), OtherPage::AddressSelector),
                             OtherPage::localHostInfo(platform.network(), OtherPage::NameSelector));
        })
    {
    }

    BoundedQuery<QList<ProcessorPage::ReportLine>> processor;
    BoundedQuery<MemoryStatus> memory;
    BoundedQuery<std::tuple<QChar, QHash<QString, QString>, QList<DriveFacts>>> drives;
    BoundedQuery<std::optional<QList<ServiceEntry>>> services;
    BoundedQuery<QList<TListView::Item>> programs;
    BoundedQuery<PrinterFacts> printers;
    BoundedQuery<std::pair<QString, QString>> network;
};

// The captions from start-up's table, the values from texts.
ShownText captionsAnd(const QHash<QString, QString> &texts)
{
    return [texts](const QString &control) {
        const auto text = texts.constFind(control);
        if (text != texts.cend())
            return *text;
        return control == u"GroupBox5" ? DiskPage::DriveBoxCaption : FormCaptions::of(control);
    };
}

} // namespace

SystemReport SystemReport::fromPlatform(Platform &platform, std::chrono::milliseconds timeLimit)
{
    const Clock::time_point deadline = Clock::now() + timeLimit;
    PlatformQueries queries(platform);
    SystemReport report;

    Section processor(u"processor"_s, FormCaptions::tab(0));
    const bool hasCpuid = platform.cpuid().hasCpuid();
    auto lines = queries.processor.answer(deadline, timeLimit);
    if (auto *answered = std::get_if<QList<ProcessorPage::ReportLine>>(&lines))
        addProcessor(processor, *answered, hasCpuid);
    else
        processor.missing(std::get<QString>(lines));
    report.add(processor);

    Section memory(u"memory"_s, FormCaptions::tab(1));
    auto status = queries.memory.answer(deadline, timeLimit);
    QHash<QString, QString> memoryTexts;
    if (const auto *figures = std::get_if<MemoryStatus>(&status)) {
        memoryTexts = {{u"Label2"_s, megabyteText(figures->totalPhys)},
                       {u"Label4"_s, megabyteText(figures->availPhys)},
                       {u"Label6"_s, megabyteText(figures->totalPageFile)},
                       {u"Label8"_s, megabyteText(figures->availPageFile)},
                       {u"Label10"_s, MemoryPage::loadText(figures->memoryLoad)}};
        addMemory(memory, captionsAnd(memoryTexts), *figures);
    } else {
        memory.missing(std::get<QString>(status));
    }
    report.add(memory);

    Section disk(u"disk"_s, FormCaptions::tab(2));
    auto drives = queries.drives.answer(deadline, timeLimit);
    if (const auto *answered = std::get_if<0>(&drives)) {
        const auto &[letter, texts, all] = *answered;
        addDisk(disk, captionsAnd(texts), letter, all);
    } else {
        disk.missing(std::get<QString>(drives));
    }
    report.add(disk);

    Section system(u"system"_s, FormCaptions::tab(3));
    auto services = queries.services.answer(deadline, timeLimit);
    if (const auto *answered = std::get_if<0>(&services)) {
        addServices(system, captionsAnd({}), *answered);
    } else {
        system.heading(FormCaptions::of(u"GroupBox4"_s));
        system.missing(u"services: "_s + std::get<QString>(services));
    }
    auto programs = queries.programs.answer(deadline, timeLimit);
    if (const auto *answered = std::get_if<0>(&programs)) {
        addPrograms(system, captionsAnd({}), *answered);
    } else {
        system.heading(FormCaptions::of(u"GroupBox6"_s));
        system.missing(u"programs: "_s + std::get<QString>(programs));
    }
    report.add(system);

    Section printer(u"printer"_s, FormCaptions::tab(4));
    auto printers = queries.printers.answer(deadline, timeLimit);
    if (const auto *facts = std::get_if<PrinterFacts>(&printers)) {
        QHash<QString, QString> texts{{u"Label26"_s, QString()}, {u"Label27"_s, QString()}, {u"Label25"_s, QString()}};
        if (facts->shown.resolution)
            texts.insert(
                u"Label25"_s,
                PrinterPage::resolutionText(facts->shown.resolution->width(), facts->shown.resolution->height()));
        if (facts->shown.defaultPrinterName && facts->shown.deviceMode) {
            texts.insert(
                u"Label26"_s,
                PrinterPage::defaultPrinterText(*facts->shown.defaultPrinterName, *facts->shown.deviceMode).plain());
            texts.insert(u"Label27"_s, PrinterPage::colorSupportText(*facts->shown.deviceMode));
        }
        addPrinters(printer, captionsAnd(texts), facts->names, facts->shown);
        for (const QString &what : facts->missing)
            printer.missing(what);
    } else {
        printer.missing(std::get<QString>(printers));
    }
    report.add(printer);

    Section other(u"other"_s, FormCaptions::tab(5));
    auto network = queries.network.answer(deadline, timeLimit);
    const quint64 tickCount = platform.clock().tickCount();
    QHash<QString, QString> otherTexts{{u"Label31"_s, OtherPage::uptimeText(tickCount)}};
    if (const auto *answered = std::get_if<0>(&network)) {
        otherTexts.insert(u"Label17"_s, answered->first);
        otherTexts.insert(u"Label19"_s, answered->second);
    }
    addOther(other, captionsAnd(otherTexts), tickCount);
    if (const auto *failure = std::get_if<QString>(&network))
        other.missing(u"network: "_s + *failure);
    report.add(other);

    Section about(u"about"_s, FormCaptions::tab(6));
    addAbout(about,
             captionsAnd({{u"Label35"_s, TFormMain::ProgramTitle},
                          {u"LabVer"_s, ReplaceVersionPlaceholder(AboutPage::VersionCaption, TFormMain::Version)},
                          {u"UrlLabel1"_s, AboutPage::HomePageAddress},
                          {u"UrlLabel2"_s, AboutPage::ContactAddress}}));
    report.add(about);
    return report;
}
