// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemPage.h"

#include "controls/TGroupBox.h"
#include "controls/lists/TListBox.h"
#include "controls/lists/TListView.h"
#include "controls/lists/TListViewItem.h"
#include "controls/text/FormFonts.h"
#include "controls/text/ToolTipText.h"
#include "platform/RegistrySource.h"
#include "platform/ServiceSource.h"

#include <QCollator>
#include <QFontInfo>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <system_error>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString DisplayNameValue = u"DisplayName"_s;
const QString ListFontFamily = u"MS Sans Serif"_s;
const QString UninstallStringValue = u"UninstallString"_s;
// What a program's list item holds beside its sub-items, which the form fixes.
constexpr int SourceRole = Qt::UserRole + 1;
constexpr int VersionRole = Qt::UserRole + 2;
constexpr int SystemRequiredRole = Qt::UserRole + 3;

// A value as text: the stored text up to its first NUL. A value that is
// missing, empty, not text or unreadable counts as empty, so one odd entry
// leaves only its own program out instead of ending the fill.
QString readText(RegistryKey &key, const QString &valueName)
{
    const std::optional<RegistryValueInfo> info = key.queryValue(valueName);
    if (!info || info->size == 0)
        return {};
    if (info->type != RegistryValueType::Sz && info->type != RegistryValueType::ExpandSz)
        return {};
    const std::optional<QByteArray> data = key.readValue(valueName);
    if (!data)
        return {};
    const qsizetype end = data->indexOf('\0');
    return QString::fromUtf8(end < 0 ? *data : data->first(end));
}

// Captions sort by the user's language, case distinguished. The C locale has
// no collation of its own (it compares code points), so the neutral Unicode
// order stands in for it.
QCollator captionCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

// A DWORD value's number; nullopt when the value is missing, of another type or unreadable.
std::optional<quint32> readDword(RegistryKey &key, const QString &valueName)
{
    const std::optional<RegistryValueInfo> info = key.queryValue(valueName);
    if (!info || info->type != RegistryValueType::DWord || info->size != sizeof(quint32))
        return std::nullopt;
    const std::optional<QByteArray> data = key.readValue(valueName);
    if (!data || data->size() != sizeof(quint32))
        return std::nullopt;
    return qFromLittleEndian<quint32>(data->constData());
}

// The program's full name, the package manager that installed it and the command that removes it,
// or that the system cannot do without it.
QString toolTipOf(const ProgramEntry &program)
{
    QStringList lines{program.name};
    if (!program.source.isEmpty())
        lines.append(SystemPage::tr("来源: ") + program.source);
    if (program.systemRequired)
        lines.append(SystemPage::systemRequiredText());
    else if (!program.removeCommand.isEmpty())
        lines.append(SystemPage::tr("卸载命令: ") + program.removeCommand);
    return ToolTipText::fromLines(lines);
}

// A program in the list: besides what every item holds, what the list does not draw (its tooltip
// and its description for assistive tools) and what the report reads back, all made when asked
// from the program's entry, which shares its texts with the caption and the sub-item.
class ProgramItem final : public TListViewItem
{
public:
    explicit ProgramItem(const ProgramEntry &program)
        : TListViewItem(program.name, {program.removeCommand})
        , m_program(program)
    {
    }

    QVariant data(int role) const override
    {
        switch (role) {
        case Qt::ToolTipRole:
            return toolTipOf(m_program);
        case Qt::AccessibleDescriptionRole:
            return m_program.systemRequired ? SystemPage::systemRequiredText() : m_program.removeCommand;
        case SourceRole:
            return m_program.source;
        case VersionRole:
            return m_program.version;
        case SystemRequiredRole:
            return m_program.systemRequired;
        default:
            return TListViewItem::data(role);
        }
    }

private:
    ProgramEntry m_program;
};

} // namespace

QString SystemPage::systemRequiredText(const Wording &words)
{
    return words.translate("SystemPage", "系统必需");
}

SystemPage::SystemPage(ServiceSource &services, RegistrySource &registry, QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_registry(registry)
{
    auto *servicesBox = new TGroupBox(u"GroupBox4"_s, QRect(3, 16, 345, 153), u"Installed Services"_s, this);
    m_serviceList = new TListBox(u"ListBox1"_s, QRect(16, 24, 313, 113), servicesBox);
    auto *softwareBox = new TGroupBox(u"GroupBox6"_s, QRect(3, 184, 342, 161), u"Installed Softwares"_s, this);
    m_softwareList = new TListView(u"ListView1"_s, QRect(16, 24, 313, 129), softwareBox);
    // That face is rarely installed outside Windows, which itself maps it to its
    // dialog font: here it maps to the face the window's own font finds, where
    // a fallback of the font library would give the list another face.
    QFont::insertSubstitution(ListFontFamily, QFontInfo(FormFonts::windowFont()).family());
    QFont listFont(ListFontFamily);
    listFont.setPixelSize(11);
    listFont.setStyleHint(QFont::SansSerif);
    m_softwareList->setFont(listFont);
    // Programs that a package manager lists late (rpm) join the list when they come.
    registry.notifyChangeKey(RegistrySource::UninstallKey, [page = QPointer(this)] {
        if (page)
            page->refillSoftware();
    });
    m_handover->page = this;
}

SystemPage::~SystemPage()
{
    const std::lock_guard lock(m_handover->mutex);
    m_handover->page = nullptr;
}

void SystemPage::fillServices()
{
    ListServices(ServiceSource::Win32Services, ServiceSource::AllStates, *m_serviceList);
}

bool SystemPage::ListServices(quint32 serviceType, quint32 serviceState, TListBox &target)
{
    const std::optional<QList<ServiceEntry>> services = enumerate(m_services, serviceType, serviceState);
    if (!services)
        return false;
    for (const ServiceEntry &service : *services) {
        target.appendLine(service.displayName);
        describeService(target.item(target.count() - 1), service.name);
        m_serviceNames.append(service.name);
    }
    return true;
}

std::optional<QList<ServiceEntry>> SystemPage::enumerate(ServiceSource &services, quint32 serviceType,
                                                         quint32 serviceState)
{
    const std::unique_ptr<ServiceManager> manager = services.openManager(ServiceSource::AllAccess);
    if (!manager)
        return std::nullopt;
    QList<ServiceEntry> all;
    quint32 resumeHandle = 0;
    for (;;) {
        const QList<ServiceEntry> batch = manager->enumerateServiceEntries(serviceType, serviceState, resumeHandle,
                                                                           ServiceBatchSize);
        if (batch.isEmpty())
            return all;
        all.append(batch);
    }
}

std::optional<QList<ServiceEntry>> SystemPage::readServices(ServiceSource &services)
{
    return enumerate(services, ServiceSource::Win32Services, ServiceSource::AllStates);
}

QList<ServiceEntry> SystemPage::services() const
{
    QList<ServiceEntry> services;
    const QStringList lines = m_serviceList->lines();
    for (qsizetype i = 0; i < lines.size(); ++i)
        services.append({m_serviceNames.value(i), lines.at(i)});
    return services;
}

QList<ProgramEntry> SystemPage::programs() const
{
    QList<ProgramEntry> programs;
    const QList<TListView::Item> items = m_softwareList->viewItems();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QListWidgetItem *item = m_softwareList->item(int(i));
        programs.append({items.at(i).caption, items.at(i).subItems.value(0), item->data(SourceRole).toString(),
                         item->data(VersionRole).toString(), item->data(SystemRequiredRole).toBool()});
    }
    return programs;
}

void SystemPage::fillSoftware()
{
    // Where the registry gives a copy, the files are read on another thread: the user's own
    // package folders may be on a network share. The list is sorted when first seen, so a
    // window whose page stays closed never loads the collation tables.
    if (readOnAnotherThread(ProgramOrder::WhenSeen)) {
        m_softwareFilled = true;
        return;
    }
    ++m_refills; // a refill still showing gives way
    if (std::exchange(m_showingPrograms, false))
        m_softwareList->endUpdate();
    m_softwareList->beginUpdate();
    const auto redrawOnce = qScopeGuard([this] { m_softwareList->endUpdate(); });
    m_softwareList->clear();
    try {
        addInstalledPrograms();
    } catch (...) {
        sortSoftware();
        throw;
    }
    sortSoftware();
    m_softwareFilled = true;
}

void SystemPage::refillSoftware()
{
    // Before the first fill has begun, that fill brings every program itself.
    if (!m_softwareFilled)
        return;
    if (readOnAnotherThread(ProgramOrder::Sorted))
        return;
    try {
        fillSoftware();
    } catch (...) {
        // A failed refill shows what it listed, as a failed fill does.
    }
}

bool SystemPage::readOnAnotherThread(ProgramOrder order)
{
    const std::shared_ptr<RegistrySource> copy = m_registry.snapshot();
    if (!copy)
        return false;
    const int refill = ++m_refills;
    try {
        std::thread([copy, handover = m_handover, refill, order] {
            try {
                const auto rows = std::make_shared<const QList<ProgramEntry>>(
                    order == ProgramOrder::Sorted ? readPrograms(*copy) : readUnsorted(*copy, nullptr));
                const std::lock_guard lock(handover->mutex);
                if (handover->page)
                    QMetaObject::invokeMethod(
                        handover->page,
                        [page = handover->page, rows, refill, order] { page->showPrograms(rows, refill, order, 0); },
                        Qt::QueuedConnection);
            } catch (...) {
                // Nothing to show: the list keeps what it has.
            }
        }).detach();
        return true;
    } catch (const std::system_error &) {
        return false; // no thread to be had
    }
}

void SystemPage::showPrograms(const ProgramRows &rows, int refill, ProgramOrder order, qsizetype from)
{
    if (refill != m_refills)
        return; // a newer fill has taken over
    if (from == 0) {
        if (!std::exchange(m_showingPrograms, true))
            m_softwareList->beginUpdate();
        m_softwareList->clear();
    }
    const qsizetype to = std::min(rows->size(), from + ProgramsPerPass);
    for (qsizetype i = from; i < to; ++i)
        m_softwareList->addItem(new ProgramItem(rows->at(i)));
    if (to < rows->size()) {
        QTimer::singleShot(0, this, [this, rows, refill, order, to] { showPrograms(rows, refill, order, to); });
        return;
    }
    m_showingPrograms = false;
    // So many cells are laid out a part per pass too, as the list view can.
    if (rows->size() > ProgramsPerPass) {
        m_softwareList->setLayoutMode(QListView::Batched);
        m_softwareList->setBatchSize(int(ProgramsPerPass));
    }
    if (order == ProgramOrder::WhenSeen)
        sortSoftware();
    m_softwareList->endUpdate();
}

void SystemPage::addInstalledPrograms()
{
    for (const QString &keyName : uninstallKeyNames(m_registry))
        if (const std::optional<ProgramEntry> program = readProgram(m_registry, keyName))
            m_softwareList->addItem(new ProgramItem(*program));
}

QStringList SystemPage::uninstallKeyNames(RegistrySource &registry)
{
    const std::unique_ptr<RegistryKey> uninstall = registry.openKey(RegistrySource::UninstallKey);
    return uninstall ? uninstall->subKeyNames() : QStringList();
}

std::optional<ProgramEntry> SystemPage::readProgram(RegistrySource &registry, const QString &keyName)
{
    const std::unique_ptr<RegistryKey> key = registry.openKey(u"%1\\%2"_s.arg(RegistrySource::UninstallKey, keyName));
    if (!key)
        return std::nullopt;
    const QString displayName = readText(*key, DisplayNameValue);
    QString uninstallString = readText(*key, UninstallStringValue);
    if (displayName.isEmpty())
        return std::nullopt;
    // A program that cannot be removed shows no command, as the system's own list offers no button.
    const bool systemRequired = readDword(*key, RegistrySource::NoRemoveValue).value_or(0) != 0;
    if (systemRequired)
        uninstallString.clear();
    return ProgramEntry{displayName, uninstallString, readText(*key, RegistrySource::InstallSourceValue),
                        readText(*key, RegistrySource::DisplayVersionValue), systemRequired};
}

QList<ProgramEntry> SystemPage::readPrograms(RegistrySource &registry, QStringList *notes)
{
    QList<ProgramEntry> programs = readUnsorted(registry, notes);
    const QCollator collator = captionCollator();
    std::stable_sort(programs.begin(), programs.end(), [&](const ProgramEntry &a, const ProgramEntry &b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return programs;
}

QList<ProgramEntry> SystemPage::readUnsorted(RegistrySource &registry, QStringList *notes)
{
    QList<ProgramEntry> programs;
    QStringList keyNames;
    if (const std::unique_ptr<RegistryKey> uninstall = registry.openKey(RegistrySource::UninstallKey)) {
        keyNames = uninstall->subKeyNames();
        if (notes)
            *notes = readText(*uninstall, RegistrySource::ReadingNotesValue).split(u'\n', Qt::SkipEmptyParts);
    }
    programs.reserve(keyNames.size());
    for (const QString &keyName : std::as_const(keyNames))
        if (std::optional<ProgramEntry> program = readProgram(registry, keyName))
            programs.append(std::move(*program));
    return programs;
}

void SystemPage::describeService(QListWidgetItem *item, const QString &serviceName)
{
    if (serviceName.isEmpty())
        return;
    // Nothing the list draws changes: its view need not hear of it, which saves a relayout per line.
    const QSignalBlocker quiet(item->listWidget()->model());
    item->setToolTip(ToolTipText::fromLines({serviceName}));
}

void SystemPage::sortSoftware()
{
    m_softwareList->sortByCaptionWhenSeen(captionCollator);
}
