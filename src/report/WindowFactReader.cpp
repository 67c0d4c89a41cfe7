// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFactReader.h"

#include "app/UnitFormMain.h"
#include "controls/drives/TDriveComboBox.h"
#include "controls/lists/TListBox.h"
#include "controls/text/TLabel.h"
#include "pages/DiskPage.h"
#include "pages/MemoryPage.h"

using namespace Qt::StringLiterals;

namespace {

// The text every value label shows until a handler first writes it.
const QString DesignText = u"<Unknown>"_s;

const ReportGap NotShownYet{ReportGap::Reason::NotShownYet, QT_TRANSLATE_NOOP("ReportGap", "窗口尚未显示")};

std::optional<QString> labelText(const TFormMain &window, const QString &name)
{
    const auto *label = window.findChild<TLabel *>(name);
    if (!label || label->caption() == DesignText)
        return std::nullopt;
    return label->caption();
}

template<typename T>
Answered<T> shown(const std::optional<T> &value)
{
    if (value)
        return *value;
    return NotShownYet;
}

Answered<ProcessorReading> processor(const TFormMain &window, const Wording &words)
{
    const auto *page = window.findChild<ProcessorPage *>();
    if (!page)
        return NotShownYet;
    // The lines as drawn; in the other language, as they would be drawn in it.
    QList<ProcessorPage::ReportLine> lines = page->lines();
    if (!lines.isEmpty() && words.language() != UiLanguage::current())
        lines = page->reportLines(words);
    return ProcessorReading{page->hasCpuid(), lines, X86Identification::read(page->cpu()), page->identity()};
}

QList<DriveReading> drives(DriveSource &source)
{
    QList<DriveReading> all;
    const quint32 mask = source.logicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((mask & (1u << i)) == 0)
            continue;
        const QChar letter(char16_t(u'A' + i));
        const QString root = QString(letter) + u":\\"_s;
        const std::optional<TDriveComboBox::Item> item = TDriveComboBox::driveItem(source, letter.toLower());
        all.append({letter, source.driveType(root), item ? item->text.plain() : QString(letter.toLower()) + u':',
                    source.location(root), std::nullopt, source.volumeInformation(root),
                    source.remoteName(QString(letter) + u':'), source.totalBytes(root),
                    source.freeBytesForCaller(root)});
    }
    return all;
}

Answered<DiskReading> disk(const TFormMain &window, const Wording &words)
{
    const auto *page = window.findChild<DiskPage *>();
    if (!page)
        return NotShownYet;
    DiskReading reading;
    reading.selected = page->driveSelector()->driveLetter().toUpper();
    const QString selectorText = page->driveSelector()->currentText();
    if (!selectorText.isEmpty())
        reading.selectorText = selectorText;
    reading.labelSerialText = labelText(window, u"Label16"_s);
    reading.fileSystemText = labelText(window, u"Label14"_s);
    if (const std::optional<DriveType> type = page->shownDriveType())
        reading.typeText = DiskPage::driveTypeText(*type, words);
    reading.totalText = labelText(window, u"Label22"_s);
    reading.freeText = labelText(window, u"Label24"_s);
    reading.drives = drives(page->driveSource());
    return reading;
}

Answered<PrinterReading> printers(const TFormMain &window)
{
    const auto *page = window.findChild<PrinterPage *>();
    const auto *list = window.findChild<TListBox *>(u"ListBox2"_s);
    if (!page || !list)
        return NotShownYet;
    return PrinterReading{list->lines(), page->shown(), std::nullopt};
}

Answered<QString> shownText(const TFormMain &window, const QString &label)
{
    return shown(labelText(window, label));
}

} // namespace

MachineReadings WindowFactReader::read(const TFormMain &window, const Wording &words)
{
    MachineReadings readings;
    readings.words = words;
    readings.takenAt = QDateTime::currentDateTime();
    readings.processor = processor(window, words);
    if (const auto *page = window.findChild<MemoryPage *>())
        readings.memory = shown(page->shownStatus());
    readings.disk = disk(window, words);
    if (const auto *page = window.findChild<SystemPage *>()) {
        readings.services = page->services();
        readings.programs = page->programs();
    }
    readings.printers = printers(window);
    readings.address = shownText(window, u"Label17"_s);
    readings.hostName = shownText(window, u"Label19"_s);
    if (const auto *page = window.findChild<OtherPage *>()) {
        readings.tickCount = shown(page->shownTickCount());
        readings.system = shown(page->shownSummary());
    }
    return readings;
}
