// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemPage.h"

#include "controls/FormFonts.h"
#include "controls/TGroupBox.h"
#include "controls/TListBox.h"
#include "controls/TListView.h"
#include "platform/RegistrySource.h"
#include "platform/ServiceSource.h"

#include <QCollator>
#include <QFontInfo>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTextDocument>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString DisplayNameValue = u"DisplayName"_s;
const QString ListFontFamily = u"MS Sans Serif"_s;
const QString UninstallStringValue = u"UninstallString"_s;

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

// A tooltip shows these lines as they are: names from outside may look like markup.
QString plainToolTip(const QStringList &lines)
{
    return Qt::convertFromPlainText(lines.join(u'\n'), Qt::WhiteSpacePre);
}

// The program's full name, the package manager that installed it and the command that removes it.
QString programToolTip(const QString &displayName, const QString &source, const QString &uninstallString)
{
    QStringList lines{displayName};
    if (!source.isEmpty())
        lines.append(u"来源: "_s + source);
    if (!uninstallString.isEmpty())
        lines.append(u"卸载命令: "_s + uninstallString);
    return plainToolTip(lines);
}

} // namespace

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

QList<TListView::Item> SystemPage::programs() const
{
    return m_softwareList->viewItems();
}

void SystemPage::fillSoftware()
{
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
    // Before the first fill has completed, that fill brings every program itself.
    if (!m_softwareFilled)
        return;
    try {
        fillSoftware();
    } catch (...) {
        // A failed refill shows what it listed, as a failed fill does.
    }
}

void SystemPage::addInstalledPrograms()
{
    for (const QString &keyName : uninstallKeyNames(m_registry)) {
        QString source;
        const std::optional<TListView::Item> program = readProgram(m_registry, keyName, &source);
        if (!program)
            continue;
        m_softwareList->addItem(program->caption, program->subItems);
        describeProgram(m_softwareList->item(m_softwareList->count() - 1), source, program->subItems.value(0));
    }
}

QStringList SystemPage::uninstallKeyNames(RegistrySource &registry)
{
    const std::unique_ptr<RegistryKey> uninstall = registry.openKey(RegistrySource::UninstallKey);
    return uninstall ? uninstall->subKeyNames() : QStringList();
}

std::optional<TListView::Item> SystemPage::readProgram(RegistrySource &registry, const QString &keyName,
                                                       QString *source)
{
    const std::unique_ptr<RegistryKey> key = registry.openKey(u"%1\\%2"_s.arg(RegistrySource::UninstallKey, keyName));
    if (!key)
        return std::nullopt;
    const QString displayName = readText(*key, DisplayNameValue);
    const QString uninstallString = readText(*key, UninstallStringValue);
    if (displayName.isEmpty())
        return std::nullopt;
    if (source)
        *source = readText(*key, RegistrySource::InstallSourceValue);
    return TListView::Item{displayName, {uninstallString}};
}

QList<TListView::Item> SystemPage::readPrograms(RegistrySource &registry)
{
    QList<TListView::Item> programs;
    for (const QString &keyName : uninstallKeyNames(registry))
        if (std::optional<TListView::Item> program = readProgram(registry, keyName))
            programs.append(std::move(*program));
    const QCollator collator = captionCollator();
    std::stable_sort(programs.begin(), programs.end(), [&](const TListView::Item &a, const TListView::Item &b) {
        return collator.compare(a.caption, b.caption) < 0;
    });
    return programs;
}

void SystemPage::describeService(QListWidgetItem *item, const QString &serviceName)
{
    if (serviceName.isEmpty())
        return;
    // Nothing the list draws changes: its view need not hear of it, which saves a relayout per line.
    const QSignalBlocker quiet(item->listWidget()->model());
    item->setToolTip(plainToolTip({serviceName}));
}

void SystemPage::describeProgram(QListWidgetItem *item, const QString &source, const QString &uninstallString)
{
    const QSignalBlocker quiet(item->listWidget()->model());
    item->setToolTip(programToolTip(item->text(), source, uninstallString));
    item->setData(Qt::AccessibleDescriptionRole, uninstallString);
}

void SystemPage::sortSoftware()
{
    m_softwareList->sortByCaption(captionCollator());
}
